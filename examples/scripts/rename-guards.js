// Renames a group of guards: Gangster01, Gangster02, ... become Guard01, Guard02, ...
// Each one's definition and the objects linked to it follow the new name.
const guards = mission.find("^Gangster\\d+$");
for (const guard of guards) {
    const name = guard.name.replace("Gangster", "Guard");
    rename(guard, name);
    print(guard.name, "->", name);
}
print("Renamed", guards.length, "guards");

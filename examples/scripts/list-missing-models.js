// Lists the objects whose model file is missing from the game's models folder; changes nothing.
let missing = 0;
for (const o of mission.objects) {
    if (o.model && !mission.hasModelFile(o.model)) {
        print(o.row, o.name, o.model);
        missing++;
    }
}
print(missing, "objects without their model file");

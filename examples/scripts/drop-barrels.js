// Drops every barrel to the ground: each physical thing whose name or model says "barrel" moves
// straight down onto the collision bodies below it.
const barrels = mission.objects.filter((o) => o.kind === "thing" && /barrel/i.test(o.name + " " + o.model));
const dropped = barrels.length > 0 ? dropToGround(barrels) : 0;
print(dropped, "of", barrels.length, "barrels dropped to the ground");

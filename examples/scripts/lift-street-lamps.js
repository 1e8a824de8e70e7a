// Lifts every lamp of a street by 2 m: the objects whose name starts with "StreetLamp".
// Run it with "Tools > Run Script..." or: mwtool run lift-street-lamps.js MISSION_FOLDER
const lamps = mission.find("^StreetLamp");
for (const lamp of lamps)
    move(lamp, 0, 2, 0);
print("Lifted", lamps.length, "street lamps by 2 m");

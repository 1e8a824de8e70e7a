#pragma once
// Inserting a new scene object: the insert dialog's fields checked in a fixed order with the
// system's messages, the object record of the kind and, for the kinds that have one, its
// definition built from a template; both written in one rewrite of scene2.bin, which is then
// reloaded with the new object selected.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "commands/Outcome.h"

namespace mw {

class Prompter;

// The dialog's fields as typed, and the choices of its lists and options.
struct InsertForm {
    std::string kind; // "human", "car", ... ("other" with noScript writes no definition)
    std::string name, model;
    std::string translationX, translationY, translationZ;
    std::string sizeX, sizeY, sizeZ;
    float q1 = 1, q3 = 0, q4 = 0;      // from the rotation sliders
    std::string verticalAngle;         // degrees; q2 = sin(angle); empty or "Text11" counts as "0"

    std::string brightness, lightDistance;
    std::array<std::string, 3> colour{"255", "255", "255"}; // the colour fields, 0 ... 255 each
    bool lightStyle5 = true;                   // Option5 rather than Option4

    std::string thingWeight;
    int thingSound = 3; // list index 0 ... 8

    std::string aggression, humanWeight, sex;
    int behaviour = 16; // the behaviour byte

    std::string soundFile, volume, soundDistance;
    int soundKind = 1; // 3 "general", 1 "distance"

    int doorSound = 1; // 1 wood, 2 brass, 3 glass
    bool noScript = false;
};

// The object record and, when the kind has one, the definition record; nothing when a field is not
// a number (the validation says which).
struct InsertRecords {
    std::vector<std::uint8_t> object;
    std::vector<std::uint8_t> definition;
};
InsertRecords insertRecords(const InsertForm& form);

// The text a rotation field is read as: one that is empty or still holds its design-time text
// (`designText`, the control's name) counts as "0".
std::string rotationFieldText(const std::string& text, const char* designText);

// The definition body (type and data chunks) of a kind, from its template, patched.
std::vector<std::uint8_t> definitionBody(const InsertForm& form);


// Validates (telling the first failure), writes, and reloads the scene selecting the new object.
Outcome insertObject(Mission& mission, const InsertForm& form, Prompter& prompter);

} // namespace mw

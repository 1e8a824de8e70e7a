#pragma once
// The mission as scripts see it: plain values read from the files at the moment they are asked
// for, so that values read in a run show the commands made earlier in it. Every value names its
// list ("objects", "cached", "frames", "bodies") and its row there, which is how the commands find
// it again.

#include <QJSValue>
#include <QString>
#include <cstdint>
#include <string_view>

class QJSEngine;

namespace mw {

class Mission;
struct CheckReport;

// A text of the files as scripts get it: the files' texts are single bytes, read as Latin-1.
QString latin1Text(std::string_view bytes);

enum class ScriptList { Objects, Cached, Frames, Bodies };

// A scene object: name, kind and type, position {x, y, z}, heading (the first rotation slider's
// angle, in degrees), rotation [q1 … q4], size, model, link, hasScript, and each value of its kind
// under the name setField() knows it by (brightness, red, aggression, thingSound, …).
QJSValue objectValue(QJSEngine& engine, const Mission& mission, std::uint32_t row);
// Every entry of a list, in row order.
QJSValue listValue(QJSEngine& engine, const Mission& mission, ScriptList list);
// The check's problems: severity ("error", "warning"), file, offset, row (when known), message.
QJSValue problemValues(QJSEngine& engine, const CheckReport& report);

} // namespace mw

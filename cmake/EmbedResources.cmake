# Run as a script (cmake -P): writes OUT, a C++ source holding each file of FILES (a ;-list) as a
# byte array named by the file's name without its extension.
set(body "")
set(table "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name "${file}" NAME_WE)
  file(READ "${file}" hex HEX)
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const std::uint8_t resource${index}[] = {${bytes}};\n")
  string(APPEND table "        {\"${name}\", std::span<const std::uint8_t>(resource${index})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE "${OUT}.tmp" "// Generated from resources/ at build time; do not edit.
#include \"formats/templates/BuiltinResources.h\"

namespace mw {
namespace {
${body}} // namespace

const std::vector<BuiltinResource>& builtinResources()
{
    static const std::vector<BuiltinResource> all{
${table}    };
    return all;
}

} // namespace mw
")
file(COPY_FILE "${OUT}.tmp" "${OUT}" ONLY_IF_DIFFERENT)

# Script mode: cmake -DINPUT=file -DOUTPUT=file.cpp -DTYPE=name -DID=n -P this
# Writes a C++ file holding INPUT's bytes and registering them as resource
# TYPE/ID (see EmbedResource.cmake).
file(READ ${INPUT} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
if(size EQUAL 0)
  set(array "0")
else()
  # 32 digits (16 bytes) per line, then each byte as 0xNN.
  string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
         "\\1\n" hex "${hex}")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," array "${hex}")
endif()
if(TYPE MATCHES "^[0-9]+$")
  set(type_name "#${TYPE}")
else()
  set(type_name "${TYPE}")
endif()
file(WRITE ${OUTPUT}.tmp
"// Generated from ${INPUT}; do not edit.
#include <cstdint>

#include \"skinui/archive/resource.h\"

namespace {

alignas(16) const std::uint8_t kBytes[] = {
${array}
};

[[maybe_unused]] const bool kRegistered =
    skinui::RegisterEmbeddedResource(L\"${type_name}\", ${ID}, kBytes, ${size});

}  // namespace
")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})

# Writes a C++ source that holds Bootstrap's stylesheet and licence from the npm package, byte for
# byte (the stylesheet without its source map comment), its version and the stylesheet's
# Subresource Integrity hash as published.
# Usage: cmake -DPACKAGE_DIR=.../node_modules/bootstrap -DOUTPUT=... -P embed_vendor.cmake
set(css "${PACKAGE_DIR}/dist/css/bootstrap.min.css")
foreach(required IN ITEMS "${PACKAGE_DIR}/package.json" "${PACKAGE_DIR}/LICENSE" "${css}")
  if(NOT EXISTS "${required}")
    message(FATAL_ERROR "${required} is missing: run scripts/setup (it installs the npm packages of package-lock.json).")
  endif()
endforeach()

file(READ "${PACKAGE_DIR}/package.json" package)
string(JSON version GET "${package}" version)

# Base64 of a hex digest whose byte count is a multiple of three (SHA-384: 48 bytes).
function(hex_to_base64 hex out)
  set(alphabet "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/")
  string(LENGTH "${hex}" length)
  math(EXPR last "${length} - 1")
  set(text "")
  foreach(at RANGE 0 ${last} 6)
    string(SUBSTRING "${hex}" ${at} 6 group)
    math(EXPR bits "0x${group}")
    foreach(shift 18 12 6 0)
      math(EXPR index "(${bits} >> ${shift}) & 63")
      string(SUBSTRING "${alphabet}" ${index} 1 letter)
      string(APPEND text "${letter}")
    endforeach()
  endforeach()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()
file(SHA384 "${css}" digest)
hex_to_base64("${digest}" integrity)

set(delimiter "qb_vendor")
# A C++ expression holding the file's bytes: raw strings with every CR and LF escaped between them.
function(cpp_literal file out)
  file(READ "${file}" content)
  file(SIZE "${file}" size)
  string(LENGTH "${content}" length)
  if(NOT length EQUAL size)
    message(FATAL_ERROR "${file} holds a NUL byte")
  endif()
  string(FIND "${content}" ")${delimiter}\"" clash)
  if(NOT clash EQUAL -1)
    message(FATAL_ERROR "${file} contains the raw-string delimiter")
  endif()
  if(ARGN)
    string(REGEX REPLACE "${ARGN}" "" content "${content}")
  endif()
  string(REPLACE "\r" ")${delimiter}\" \"\\r\" R\"${delimiter}(" content "${content}")
  string(REPLACE "\n" ")${delimiter}\" \"\\n\" R\"${delimiter}(" content "${content}")
  set(${out} "R\"${delimiter}(${content})${delimiter}\"" PARENT_SCOPE)
endfunction()
# The map is not shipped, so the comment that names it goes.
cpp_literal("${css}" css_text "\n/\\*# sourceMappingURL=[^\n]*\\*/\n?$")
cpp_literal("${PACKAGE_DIR}/LICENSE" license_text)

set(body "// Generated from node_modules/bootstrap at build time; do not edit.
#include \"generator/vendor_files.hpp\"

namespace qb::gen {

const std::vector<TemplateFile>& BootstrapFiles() {
  static const std::vector<TemplateFile> files = {
      {\"css/bootstrap.min.css\", ${css_text}},
      {\"LICENSE\", ${license_text}},
  };
  return files;
}

std::string_view BootstrapVersion() { return \"${version}\"; }

std::string_view BootstrapCssIntegrity() { return \"sha384-${integrity}\"; }

}  // namespace qb::gen
")
if(EXISTS "${OUTPUT}")
  file(READ "${OUTPUT}" previous)
endif()
if(NOT "${previous}" STREQUAL "${body}")
  file(WRITE "${OUTPUT}" "${body}")
endif()

# Compiles the Tailwind stylesheet of the generated application with the npm package pinned in
# package-lock.json (minified, over the files named in cmake/tailwind.config.js) and writes a C++
# source that holds it byte for byte.
# Usage: cmake -DNODE=... -DPACKAGE_DIR=.../node_modules/tailwindcss -DCONFIG=... -DINPUT=...
#              -DOUTPUT=... -P embed_tailwind.cmake
set(cli "${PACKAGE_DIR}/lib/cli.js")
if(NOT EXISTS "${cli}")
  message(FATAL_ERROR "${cli} is missing: run scripts/setup (it installs the npm packages of package-lock.json).")
endif()
file(READ "${PACKAGE_DIR}/package.json" package)
string(JSON version GET "${package}" version)

# The browser data's age changes nothing in the output; its warning is noise here.
set(ENV{BROWSERSLIST_IGNORE_OLD_DATA} 1)
execute_process(
  COMMAND "${NODE}" "${cli}" --config "${CONFIG}" --input "${INPUT}" --minify
  RESULT_VARIABLE status
  OUTPUT_VARIABLE css
  ERROR_VARIABLE log)
if(NOT status EQUAL 0 OR css STREQUAL "")
  message(FATAL_ERROR "tailwindcss ${version} failed (${status}):\n${log}")
endif()
if(css MATCHES "@tailwind")
  message(FATAL_ERROR "tailwindcss ${version} left an @tailwind directive in its output")
endif()

set(delimiter "qb_tailwind")
string(FIND "${css}" ")${delimiter}\"" clash)
if(NOT clash EQUAL -1)
  message(FATAL_ERROR "the compiled stylesheet contains the raw-string delimiter")
endif()
string(REPLACE "\r" ")${delimiter}\" \"\\r\" R\"${delimiter}(" css "${css}")
string(REPLACE "\n" ")${delimiter}\" \"\\n\" R\"${delimiter}(" css "${css}")

set(body "// Compiled by node_modules/tailwindcss at build time; do not edit.
#include \"generator/tailwind_css.hpp\"

namespace qb::gen {

std::string_view TailwindCss() {
  return R\"${delimiter}(${css})${delimiter}\";
}

std::string_view TailwindVersion() { return \"${version}\"; }

}  // namespace qb::gen
")
file(WRITE "${OUTPUT}" "${body}")

# Sourced by the benchmarks from the project folder: QB names the tool to measure. Unless it is
# set already, this tree is built in Release (build-bench) and its quillbarrow is measured.
if [ -z "${QB:-}" ]; then
  cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DQB_BUILD_TESTS=OFF >/dev/null
  cmake --build build-bench -j"$(nproc)" >/dev/null
  QB=$PWD/build-bench/quillbarrow
fi

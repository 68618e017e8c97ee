// quillbarrow: the command-line host of the plug-in.
#include <string>
#include <vector>

#include "commands.hpp"
#include "platform.hpp"

int main(int argc, char** argv) {
  qb::cli::UseBinaryOutput();
  return qb::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}

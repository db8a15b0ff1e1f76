#include <iostream>
#include <string>
#include <vector>

#include "tools/catalogue/catalogue_tool.hpp"

int main(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  return kbh::RunCatalogueTool(arguments, std::cout, std::cerr);
}

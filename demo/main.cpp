#include <string>
#include <vector>

#include "demo/Main.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return runDemo(args);
}

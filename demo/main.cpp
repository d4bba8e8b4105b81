#include "demo/Main.h"

int main() {
    return runDemo();
}

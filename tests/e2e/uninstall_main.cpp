// The uninstaller's end-to-end scenarios: `e2e_uninstall --list` or
// `e2e_uninstall SCENARIO`.
#include "Robot.h"

int main(int argc, char **argv) { return robot::Main(argc, argv); }

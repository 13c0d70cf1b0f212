// The setup scenarios' executable: `setup --list`, `setup SCENARIO`.
#include "Robot.h"

int main(int argc, char **argv) { return robot::Main(argc, argv); }

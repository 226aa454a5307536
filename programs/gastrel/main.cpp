#include "programs/gastrel/gastrel_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::gastrel::Gastrel>(argc, argv); }

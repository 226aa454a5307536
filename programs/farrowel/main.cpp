#include "programs/farrowel/farrowel_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::farrowel::Farrowel>(argc, argv); }

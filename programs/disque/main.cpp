#include "programs/disque/disque_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::disque::Disque>(argc, argv); }

#include "programs/reseau/reseau_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::reseau::ReseauWindow>(argc, argv); }

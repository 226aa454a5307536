#include "programs/kestrum/kestrum_window.h"
#include "programs/run_program.h"

int main(int argc, char** argv) { return kavrel::runProgram<kavrel::kestrum::Kestrum>(argc, argv); }

#pragma once

// Each subcommand reads its own arguments (argv[first] onwards) and returns
// the process's exit status: 0 success, 1 failure, 2 usage error.
int RunRows(int argc, char** argv, int first);
int RunImport(int argc, char** argv, int first);
int RunRender(int argc, char** argv, int first);
int RunDemoBells(int argc, char** argv, int first);
int RunMethods(int argc, char** argv, int first);
int RunProve(int argc, char** argv, int first);

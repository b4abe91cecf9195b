#pragma once
// The subcommands of mozu-cli. Each takes the arguments after its own name (argv[0] is the
// subcommand) and returns the process exit status.

namespace mozu::cli {

int RunConvertCommand(int argc, char** argv);
int RunInfoCommand(int argc, char** argv);
int RunExportCommand(int argc, char** argv);
int RunVideoCommand(int argc, char** argv);

}  // namespace mozu::cli

#pragma once
// Exit statuses of qelctl, the same for every subcommand.
namespace CliExit {
enum Code : int {
    Ok = 0,       // everything asked for was done
    Failed = 1,   // some programmer reported a failure
    Usage = 2,    // bad usage or bad input
    NoLink = 3,   // no programmer found, or a link failed
};
} // namespace CliExit

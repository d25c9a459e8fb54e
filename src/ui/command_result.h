// Result codes of the commands that take a request record. The numbers
// follow the Show command's (ShowResult): a front end turns them into its
// exit status without reading the report.
#pragma once

enum CommandResult {
    CMD_DONE = 0,      // everything asked was done
    CMD_FAILED = 1,    // a device or file could not be read or written
    CMD_CANCELLED = 2, // the operator cancelled or declined
    CMD_REFUSED = 3    // the request itself was refused (a message says why)
};

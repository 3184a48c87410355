#pragma once
// export and apply: the mouse's configuration as a TOML file, read from and written to the open
// mouse.
#include <iosfwd>
#include <string>

namespace kvr {

class MouseSession;

// Writes the configuration to `file`, or to `out` when `file` is empty. The exit code.
int exportConfigFile(MouseSession& session, const std::string& file, std::ostream& out,
                     std::ostream& err);

struct ApplyPlan {
    int code = 0;        // the exit code when nothing is to be written
    bool write = false;  // the pages hold the file and differ from the mouse
};

// Reads and checks `file` whole, puts it on the pages and prints what changes. A file that fails
// its check gives its place and the reason on `err` and exit code 2.
ApplyPlan applyConfigFile(MouseSession& session, const std::string& file, bool dryRun,
                          std::ostream& out, std::ostream& err);

}  // namespace kvr

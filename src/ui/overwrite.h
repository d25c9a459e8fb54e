// The question before an existing file is replaced, asked alike by the
// windows' file dialogs and by commands through their Asker.
#pragma once

#include <string>

#include "ui/outcome.h"

// kind: 1 output text, 2 script, otherwise Morix list. The question names
// the file by its base name.
Question overwrite_question(int kind, const std::string& path);
// True when path does not exist yet, or asker answers that it may be
// replaced.
bool may_overwrite(Asker& asker, int kind, const std::string& path);

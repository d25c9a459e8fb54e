// The access rule and the operator's standing answer about undo, as every
// layer reads them. Each program's start-up sets them.
#pragma once

// 0 when the operator may not change devices or files on a load host (not
// in bin/users.list): the change pipeline and the upload refuse then.
extern int g_may_change;
constexpr const char* MSG_NO_ACCESS = "You will not have access to commands that can\nchange "
                                      "current Morix configurations. Check\nthe users.list file.";
// Sending values whose old value undo cannot write back: -1 asks the
// operator, 0 refuses, 1 accepts (mm_cli: 1 only with --accept-no-undo).
extern int g_accept_no_undo;

// The Create Script window: its Create button, the creation port dialog's
// OK and the file selection, each step rendering the outcome of script
// creation (ops/script_crt.h) into the window.
#pragma once

#include "ops/script_crt.h"

// The report into the window's output area, the warnings over the window.
void render_script_create(const ScriptCrtOutcome& out);
// Create: the selection check, then the port dialog or the file selection.
void script_create_start();
// The port dialog's OK: the dialog stays open when its checks refuse the
// fields or the operator declines the question.
void script_create_ports_ok();

// The launcher's one instance of each Quillon class it uses, created through
// COM by class identifier on first use and kept until releaseLibraries().
#pragma once

#include "QuillonTypes.h"

namespace vantorel::slots {

_qfcLibCore& core();
_qfcLibRegistry& registry();
_qfcLibFiles& files();
_qfcLibForms& forms();
_qfcLibWindows& windows();

// Drops every instance; called once at the end of the process, before COM goes.
void releaseLibraries();

} // namespace vantorel::slots

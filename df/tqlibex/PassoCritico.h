// The points of a change of several files where a crash must leave them recoverable. Tests
// end the process at the Nth point passed to prove it; the product never arms them.
#pragma once

void TQPassoCritico();

// SPDX-License-Identifier: GPL-3.0-or-later
// Vellora: paint a picture and hear it.
#include "app/commands.h"

int main() { return RunVellora(); }

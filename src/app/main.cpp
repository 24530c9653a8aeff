// Vellora: paint a picture and hear it.
#include "app/commands.h"

int main() { return RunVellora(); }

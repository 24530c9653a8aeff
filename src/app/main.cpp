// Vellora: paint a picture and hear it.
#include "app/startup.h"

int main() { return RunVellora(); }

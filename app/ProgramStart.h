// What both front ends do first.
#pragma once

// Numbers are read and written with "." as the decimal separator whatever the user's locale:
// a widget toolkit adopts the environment's locale at start (a comma in French or German), and
// every printf-style format of the program would follow it.
void UseDotDecimalSeparator();

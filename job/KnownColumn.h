#pragma once

// Whether a name template may use the detail column of that number. On Linux the reader's
// column table decides. On Windows the shell's columns are known only once a job asks for
// them, so every number from 0 to the highest of the project's Windows column list is
// taken: a column the shell lacks there gives an empty value, as in the CSV.
bool isKnownColumn(int number);

#include "../KnownColumn.h"

#include "ColumnTable.h"

bool isKnownColumn(int number) {
    return findColumn(number) != nullptr;
}

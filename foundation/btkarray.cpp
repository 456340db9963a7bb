#include "foundation/btkarray.h"

void btkArrayIndexError(int index, int count) {
    std::fprintf(stderr, "Array index out of bounds:index=%d,count=%d\n", index, count);
    throw 0;
}

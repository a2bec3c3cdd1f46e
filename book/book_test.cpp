#include "book/book.h"

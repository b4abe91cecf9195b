// Example tree of the ladder check: a file of the same folder may be named alone.

#include "source.h"

#include <string>

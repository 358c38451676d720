#include "kit/kitformat.h"

#include "tips.h"

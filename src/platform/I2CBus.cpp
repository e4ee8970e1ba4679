#include "I2CBus.h"

#include "hyperlink/hyperlink.h"

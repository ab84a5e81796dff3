#include "shared/app_state.h"

constinit AppStateRecord AppState = {};

#include "app/app_state.h"

constinit AppStateRecord AppState = {};

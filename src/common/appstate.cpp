#include "common/appstate.h"

AppState& App()
{
    static AppState state;
    return state;
}

void ResetAppState()
{
    App() = AppState();
}

#include "app/RelaydeskApp.h"

wxIMPLEMENT_APP(CRelaydeskApp);

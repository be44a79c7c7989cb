/* Resource ids shared by app.rc and the windows that load the resources. */
#pragma once

#define TARVELLO_ICON_ID 1

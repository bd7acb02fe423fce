// Resource and control ids of Dravonel.exe. The ids are the contract between
// pages, hot keys, menus, plug-ins and second instances: never renumber.
// Each window keeps its ids in its own header.
#pragma once

#include "ids_about.h"
#include "ids_calendar.h"
#include "ids_general.h"
#include "ids_hotkeys.h"
#include "ids_lists.h"
#include "ids_main.h"
#include "ids_menuitems.h"
#include "ids_procview.h"
#include "ids_wall.h"

#include "mainwindow/GameOrder.h"

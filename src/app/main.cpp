// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/gui/application.h"

int main(int argc, char** argv)
{
    return vb::RunVerbanta(argc, argv);
}

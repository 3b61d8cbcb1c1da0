// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps a library target valid while its folder has no sources yet.

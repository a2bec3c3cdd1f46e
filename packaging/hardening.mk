# SPDX-License-Identifier: MIT
# How the release builds are hardened, for the Debian package (debian/rules)
# and for `make build`, `run`, `install` and `deb` (Makefile) alike: every
# hardening feature of dpkg-buildflags, bind now included, and the
# control-flow and stack-clash protection that Debian 12's defaults lack.
export DEB_BUILD_MAINT_OPTIONS = hardening=+all
export DEB_CFLAGS_MAINT_APPEND = -fcf-protection -fstack-clash-protection
export DEB_CXXFLAGS_MAINT_APPEND = -fcf-protection -fstack-clash-protection

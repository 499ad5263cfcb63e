#!/usr/bin/env bash
# The site wizard: "Edit site" on a page of a site on loopback (Python's HTTP
# server and pyftpdlib) opens it; it is shown filled in on its first two
# pages and while it tests the account, then the site's default page as it
# opens for editing. The engine
# test that travels this road saves the windows when TAVRISK_SHOTS is set;
# it waits on each window and page before saving it.
set -euo pipefail
: "${OUT:?}" "${BUILD:?}"
cmake --build "$BUILD" --target host_site_tests TavriskToolbarre > /dev/null
TAVRISK_SHOTS="$OUT" "$BUILD/tests/host/host_site_tests" \
  --gtest_filter='SiteWizardInHost.EditSiteOnANewSite*:SiteWizardInHost.WhileTheAccount*'
for png in wizard-new-connection.png wizard-login.png wizard-testing.png edit-site-opened.png; do
  test -s "$OUT/$png"
done

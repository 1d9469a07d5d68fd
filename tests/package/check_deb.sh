#!/bin/bash
# Builds the Debian package from a configured and built tree and holds it to the
# checks a distribution applies: lintian must report no error and no warning, and
# appstreamcli must accept the AppStream metainfo together with the desktop entry.
# It also checks that the desktop entry, the metainfo and the window agree on the
# application id.
#
#   tests/package/check_deb.sh BUILD_DIR SCRATCH_DIR APP_ID
set -euo pipefail

build=$1
scratch=$2
app_id=$3

for tool in cpack lintian appstreamcli dpkg-deb; do
    command -v "$tool" > /dev/null || {
        echo "check_deb: $tool is not installed (make deps installs it)" >&2
        exit 1
    }
done

rm -rf "$scratch"
mkdir -p "$scratch"
cpack --config "$build/CPackConfig.cmake" -B "$scratch" > "$scratch/cpack.log" 2>&1 || {
    cat "$scratch/cpack.log" >&2
    exit 1
}
deb=$(ls "$scratch"/fourfall_*.deb)
failed=0

# Info and pedantic tags are shown but do not fail the check. Lintian notes that
# it runs as root on a CI machine; that is about the run, not the package.
lintian --info --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' \
    > "$scratch/lintian.log" || true
cat "$scratch/lintian.log"
if grep -qE '^[EW]: ' "$scratch/lintian.log"; then
    echo "check_deb: lintian reports errors or warnings" >&2
    failed=1
fi
echo "lintian: $(grep -c '^E: ' "$scratch/lintian.log" || true) errors," \
    "$(grep -c '^W: ' "$scratch/lintian.log" || true) warnings"

tree=$scratch/tree
dpkg-deb -x "$deb" "$tree"
if ! appstreamcli validate-tree --no-net "$tree"; then
    echo "check_deb: appstreamcli rejects the metainfo" >&2
    failed=1
fi

entry=$tree/usr/share/applications/$app_id.desktop
metainfo=$tree/usr/share/metainfo/$app_id.metainfo.xml
for file in "$entry" "$metainfo"; do
    [[ -f $file ]] || { echo "check_deb: missing ${file#"$tree"}" >&2; failed=1; }
done
if [[ -f $entry ]]; then
    for key in StartupNotify=true StartupWMClass=Fourfall Exec=/usr/games/fourfall; do
        grep -qx "$key" "$entry" || { echo "check_deb: the desktop entry lacks $key" >&2; failed=1; }
    done
fi
if [[ -f $metainfo ]]; then
    for wanted in "<id>$app_id</id>" "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" \
        "<project_license>" "<content_rating"; do
        grep -qF "$wanted" "$metainfo" || { echo "check_deb: the metainfo lacks $wanted" >&2; failed=1; }
    done
fi
# The window names its desktop entry by the same id, so a desktop matches them.
grep -qaF "$app_id" "$tree/usr/libexec/fourfall/fourfall" ||
    { echo "check_deb: the game does not carry the application id $app_id" >&2; failed=1; }

exit $failed

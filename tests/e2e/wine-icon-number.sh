# Sourced by wine-e2e once its program has ended: the number on the icon (iconNumber=busiest) read
# back from Wine's tray by OCR at 96 dpi (the 16-pixel icon of a display at 100 %) and at 192 dpi
# (32 pixels, 200 %). A master of its own serves a busiest server of 47 players, then of 88, over
# the limit of 64: the second is the alert icon. Leaves build/artifacts/icon-number-*.png.
numberWork=$work/icon-number
rm -rf "$numberWork" && mkdir -p "$numberWork/scenario"
printf '[crowd]\nname = Crowd\naddress = 127.0.0.2\nport = 40000\nversion = 1.80\nplayers = %s\n' \
  "$(seq -s, -f 'P%g' 47)" > "$numberWork/scenario/servers.txt"
printf 'step\njoin crowd 41\n' > "$numberWork/scenario/steps.txt"
echo "beta 1.80" > "$numberWork/scenario/latest_version.txt"
"${MASTERSIM:-$root/build/native/tools/mastersim/mastersim}" --port 0 --address 127.0.0.1 \
  --scenario "$numberWork/scenario" > "$numberWork/mastersim.log" 2>&1 &
numberMaster=$!
WaitFor 10 grep -q "listening on" "$numberWork/mastersim.log"
numberAddress=$(sed -n '1s/^mastersim listening on //p' "$numberWork/mastersim.log")
printf "minPlayers= 64\r\ncheckTime= 60\r\nsound=0\r\nautostart=0\r\nsort=3\r\nmaster=%s\r\nlatestVersionUrl=http://%s/latest_version.txt\r\niconNumber=busiest\r\n" \
  "$numberAddress" "$numberAddress" > "$program/Quorvex.ini"

# The box of the plate's colour in the picture at $1 (WxH+X+Y), which is empty (0x0) without it.
PlateBox() { convert "$1" -fill black +opaque "#141414" -fill white -opaque "#141414" -format "%@" info: 2>/dev/null; }
# A screenshot of the tray at $1 with the plate on the icon.
PlateShown() { import -window "$(TrayWindow)" "$1" && [[ $(PlateBox "$1") != 0x0* ]]; }
ListRequests() { grep -c "get_server_list.php" "$numberWork/mastersim.log"; }
MoreListRequestsThan() { [[ $(ListRequests) -gt $1 ]]; }
# ReadIconNumber DPI: the number read on the icon in the tray (e2e_support.py's plate_number), at DPI,
# after the first poll.
ReadIconNumber() {
  local dpi=$1 polls shot=$root/build/artifacts/icon-number-$1dpi.png
  wineserver -k
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f > /dev/null 2>&1
  wineserver -k  # the next Wine session starts at that resolution, its tray too
  polls=$(ListRequests)
  StartQuorvex
  WaitFor 60 IconInTray && WaitFor 20 MoreListRequestsThan "$polls" && WaitFor 15 PlateShown "$shot" || return 1
  python3 "$root/tests/e2e/e2e_support.py" plate-number "$shot"
}
read16=$(ReadIconNumber 96)
check "the busiest count on the 16-pixel icon reads 47 (build/artifacts/icon-number-96dpi.png)" '[[ $read16 == 47 ]]' \
  'echo "read \"$read16\""'
read32=$(ReadIconNumber 192)
check "on the 32-pixel alert icon, 88 (icon-number-192dpi.png)" '[[ $read32 == 88 ]]' 'echo "read \"$read32\""'
wineserver -k
wine reg delete 'HKCU\Control Panel\Desktop' /v LogPixels /f > /dev/null 2>&1
kill "$numberMaster" && wait "$numberMaster"

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Starts a CUPS scheduler that belongs to the printer tests alone, with two
# PDF queues that print into files.
#
#   sh tests/support/start-cupsd.sh [FOLDER]      start (or restart) it
#   sh tests/support/start-cupsd.sh --stop [FOLDER]
#
# Everything it needs lives in FOLDER (default: $TMPDIR/lurns-cupsd-<uid>):
# its configuration, spool, cache, state, logs and the domain socket it
# listens on.  It listens on no network port and not on the machine's
# socket, reads nothing from /etc/cups and writes nothing there, so the
# machine's own scheduler (running or not), its queues and its default
# printer are never touched.  The tests find it through CUPS_SERVER:
#
#   export CUPS_SERVER=FOLDER/cups.sock
#
# which is the one line this script prints on standard output.  It runs as
# root (CI) or as an ordinary user; the output files belong to that user.
# Needs the Debian packages cups (the scheduler) and cups-filters (the PDF
# printer description and filters).
set -eu

stop=false
if [ "${1:-}" = "--stop" ]; then
  stop=true
  shift
fi
uid=$(id -u)
dir=${1:-${TMPDIR:-/tmp}/lurns-cupsd-$uid}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
sock="$dir/socket/cups.sock"
pidfile="$dir/cupsd.pid"

# Stops the scheduler this folder belongs to, if it runs.
stop_it() {
  if [ -f "$pidfile" ]; then
    pid=$(cat "$pidfile")
    if kill -0 "$pid" 2>/dev/null; then
      kill "$pid"
      for _ in $(seq 1 50); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
      done
    fi
    rm -f "$pidfile"
  fi
  rm -f "$sock"
}

stop_it
if $stop; then exit 0; fi

cupsd=/usr/sbin/cupsd
[ -x "$cupsd" ] || { echo "start-cupsd.sh: $cupsd is missing (apt-get install cups)" >&2; exit 1; }
ppd=/usr/share/ppd/cupsfilters/Generic-PDF_Printer-PDF.ppd
ppd2=/usr/share/ppd/cupsfilters/Ricoh-PDF_Printer-PDF.ppd
for f in "$ppd" "$ppd2"; do
  [ -f "$f" ] || { echo "start-cupsd.sh: $f is missing (apt-get install cups-filters)" >&2; exit 1; }
done

rm -rf "$dir/etc" "$dir/spool" "$dir/cache" "$dir/state" "$dir/log" "$dir/out"
mkdir -p "$dir/etc/ppd" "$dir/etc/ssl" "$dir/spool/tmp" "$dir/cache" "$dir/state" "$dir/log" \
  "$dir/out" "$dir/socket"
# The scheduler's helpers run as another user when it runs as root: they
# must be able to reach the spool through the folder.  The socket is the
# owner's alone: whoever reaches it may do anything on this scheduler,
# including writing files as the user it runs as.
chmod 755 "$dir"
chmod 700 "$dir/socket"

if [ "$uid" -eq 0 ]; then
  user=lp
  group=root
else
  user=$(id -un)
  group=$(id -gn)
fi

cat > "$dir/etc/cups-files.conf" <<EOF
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/spool/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
DataDir /usr/share/cups
DocumentRoot /usr/share/cups/doc-root
ServerBin /usr/lib/cups
User $user
SystemGroup $group
FileDevice Yes
EOF

# Only the folder's socket, no port; no browsing or sharing; every request
# allowed without a password, since only the owner of the folder reaches
# the socket.
cat > "$dir/etc/cupsd.conf" <<EOF
LogLevel warn
Listen $sock
Browsing No
BrowseLocalProtocols none
DefaultShared No
WebInterface No
DefaultAuthType None
PreserveJobHistory Yes
MaxJobs 0
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  JobPrivateAccess default
  JobPrivateValues default
  SubscriptionPrivateAccess default
  SubscriptionPrivateValues default
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF

# In the foreground, so that the process started here is the scheduler and
# its number can be kept; detached from this shell.
nohup "$cupsd" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" \
  >"$dir/log/cupsd.out" 2>&1 &
echo $! > "$pidfile"

export CUPS_SERVER="$sock"
ok=false
for _ in $(seq 1 100); do
  if [ -S "$sock" ] && lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
    ok=true
    break
  fi
  kill -0 "$(cat "$pidfile")" 2>/dev/null || break
  sleep 0.1
done
if ! $ok; then
  echo "start-cupsd.sh: the scheduler did not start; see $dir/log" >&2
  cat "$dir/log/cupsd.out" "$dir/log/error_log" >&2 2>/dev/null || true
  stop_it
  exit 1
fi

# FilePDF, the default: a generic PDF printer whose A4 has hardware margins
# (18 pt at the sides, 36 pt top and bottom).  OtherPDF: a second PDF
# printer, so that the list has more than the default.  Their location
# tells the tests that this scheduler is theirs: only here do they add (and
# remove again) queues of their own, one per test, each printing into a
# file of that test, made like FilePDF.
queue() {
  lpadmin "$@" 2>"$dir/log/lpadmin.err" || { cat "$dir/log/lpadmin.err" >&2; stop_it; exit 1; }
}
where="Lurns test scheduler"
queue -p FilePDF -E -L "$where" -v "file://$dir/out/filepdf.pdf" -P "$ppd"
queue -p OtherPDF -E -L "$where" -v "file://$dir/out/otherpdf.pdf" -P "$ppd2"
queue -d FilePDF
echo "export CUPS_SERVER=$sock"

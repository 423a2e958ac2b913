# A private CUPS scheduler for the printing tests (sourced after lib.sh). It keeps its configuration,
# spool, logs and socket in the test's folder and runs in the foreground as the test's child, so no
# running service is needed and none is disturbed. Its PDF queues use the cups-pdf backend; the one
# file it leaves outside the folder is the backend's instance settings in /etc/cups (the backend
# reads them from there only), named after this run and removed at exit.
CUPS_DIR=""
CUPS_PID=""
CUPS_PDF_CONF=""

cups_stop() {
  [ -n "$CUPS_PID" ] && { kill "$CUPS_PID" 2>/dev/null; wait "$CUPS_PID" 2>/dev/null; }
  CUPS_PID=""
  [ -n "$CUPS_PDF_CONF" ] && rm -f "$CUPS_PDF_CONF"
  CUPS_PDF_CONF=""
}

# cups_start DIR: starts the scheduler with its files in DIR and exports CUPS_SERVER (its socket),
# which libcups and so Wine's printing follow. PDFs land in $CUPS_DIR/pdf. False when it cannot run.
cups_start() {
  CUPS_DIR=$1
  local c=$CUPS_DIR
  [ -x /usr/sbin/cupsd ] && [ -x /usr/lib/cups/backend/cups-pdf ] || { echo "cups: cupsd or cups-pdf missing"; return 1; }
  mkdir -p "$c/etc/ppd" "$c/spool/tmp" "$c/cache" "$c/state" "$c/log" "$c/pdf"
  # Filters run as the unprivileged lp user: they must reach the spool inside the test's folder.
  chmod go+x "$(dirname "$c")" "$c"
  cat >"$c/etc/cups-files.conf" <<EOF
SystemGroup root
ServerRoot $c/etc
RequestRoot $c/spool
TempDir $c/spool/tmp
CacheDir $c/cache
StateDir $c/state
AccessLog $c/log/access_log
ErrorLog $c/log/error_log
PageLog $c/log/page_log
Printcap $c/printcap
FileDevice No
EOF
  cat >"$c/etc/cupsd.conf" <<EOF
Listen $c/cups.sock
LogLevel info
WebInterface No
Browsing No
BrowseLocalProtocols none
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
  # Instance settings of the backend for queues with the device cups-pdf:/$instance.
  local instance="quorvel-test-$$"
  CUPS_PDF_CONF="/etc/cups/cups-pdf-$instance.conf"
  CUPS_PDF_URI="cups-pdf:/$instance"
  printf 'Out %s\nAnonDirName %s\nLabel 1\nLog %s\n' "$c/pdf" "$c/pdf" "$c/log" >"$CUPS_PDF_CONF" || return 1
  /usr/sbin/cupsd -f -c "$c/etc/cupsd.conf" -s "$c/etc/cups-files.conf" >"$c/log/cupsd.out" 2>&1 &
  CUPS_PID=$!
  export CUPS_SERVER="$c/cups.sock"
  wait_for 20 cups_running || { echo "cups: scheduler did not start"; cat "$c/log/error_log" 2>/dev/null; return 1; }
}

# lpstat says "not running" with status 0 as well.
cups_running() { [ -S "$CUPS_SERVER" ] && LC_ALL=C lpstat -r 2>/dev/null | grep -q '^scheduler is running'; }

# cups_add_pdf_printer NAME: an enabled PDF queue; the first one added becomes the default.
cups_add_pdf_printer() {
  lpadmin -p "$1" -E -v "$CUPS_PDF_URI" -P /usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd >>"$CUPS_DIR/log/lpadmin.log" 2>&1 || return 1
  lpstat -d 2>/dev/null | grep -q ': ' || lpadmin -d "$1" >>"$CUPS_DIR/log/lpadmin.log" 2>&1
}

# cups_pdf JOB: the PDF of job number JOB, once the backend has finished writing it (empty if none).
cups_pdf() {
  lpstat -W completed -o 2>/dev/null | grep -q -- "-$1 " || return 0
  ls "$CUPS_DIR"/pdf/*job_"$1".pdf 2>/dev/null | head -n 1
}

# cups_job_count: number of jobs the scheduler has received, finished or not.
cups_job_count() { lpstat -W all -o 2>/dev/null | grep -c .; }

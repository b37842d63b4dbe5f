#!/bin/sh
# Starts a private CUPS scheduler for the printing tests (CI machines run no
# service manager) and adds two queues: a cups-pdf printer and a generic PDF
# printer with hardware margins that writes to a file.  Needs the Debian
# packages cups, cups-bsd, cups-client, cups-filters and printer-driver-cups-pdf.
set -e
grep -q '^FileDevice' /etc/cups/cups-files.conf 2>/dev/null ||
  echo 'FileDevice Yes' >> /etc/cups/cups-files.conf
if ! lpstat -r 2>/dev/null | grep -q 'scheduler is running'; then
  /usr/sbin/cupsd
  for i in $(seq 1 50); do
    lpstat -r 2>/dev/null | grep -q 'scheduler is running' && break
    sleep 0.2
  done
fi
lpstat -r
out=${LURNS_CUPS_OUT:-/tmp/lurns-cups}
mkdir -p "$out"
lpadmin -p CupsPDF -E -v cups-pdf:/ -m lsb/usr/cups-pdf/CUPS-PDF_opt.ppd
lpadmin -p FilePDF -E -v "file://$out/filepdf.pdf" -m lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd
lpadmin -d FilePDF
lpstat -p

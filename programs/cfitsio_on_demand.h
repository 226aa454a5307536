// CFITSIO, opened when a program first reads or writes a FITS file rather than at its start: the
// library and those it needs (a network client, TLS, Kerberos) cost a window some 5 MiB
// of memory and 14 ms of start-up. This file defines the CFITSIO functions that the
// readers and the writer call, each opening the library on its first call and forwarding to it; the
// readers link to these instead of the library. A function of CFITSIO newly called by a
// reader is added here, one line in the table and one definition (the link fails until
// it is). Without the library, a file is refused as one that cannot be opened.
#pragma once

// CFITSIO opened when the first FITS file is read or written (cfitsio_on_demand.h).
#include "programs/cfitsio_on_demand.h"

#include <dlfcn.h>
#include <fitsio.h>

#include <cstdio>
#include <type_traits>

// Every function of CFITSIO that the readers call. A new one is added here and defined
// below, with CFITSIO's own parameters.
#define KAVREL_CFITSIO_FUNCTIONS(X) \
  X(ffclos) \
  X(ffcmsg) \
  X(ffcrim) \
  X(ffdkopn) \
  X(ffgcno) \
  X(ffgdesll) \
  X(ffgerr) \
  X(ffghadll) \
  X(ffghdn) \
  X(ffghdt) \
  X(ffgiprll) \
  X(ffgky) \
  X(ffgpxvll) \
  X(ffgtclll) \
  X(ffimem) \
  X(ffmahd) \
  X(ffomem) \
  X(ffpky) \
  X(ffppr) \
  X(fits_is_compressed_image)

namespace {

// The status of a file that cannot be opened, when the library itself cannot be.
constexpr int kAbsent = FILE_NOT_OPENED;

struct Cfitsio {
#define KAVREL_MEMBER(name) decltype(&::name) name = nullptr;
  KAVREL_CFITSIO_FUNCTIONS(KAVREL_MEMBER)
#undef KAVREL_MEMBER
};

const Cfitsio& cfitsio() {
  static const Cfitsio kLibrary = [] {
    Cfitsio library;
    void* handle = dlopen("libcfitsio.so.10", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return library;
#define KAVREL_RESOLVE(name) \
  library.name = reinterpret_cast<std::remove_reference_t<decltype(library.name)>>(dlsym(handle, #name));
    KAVREL_CFITSIO_FUNCTIONS(KAVREL_RESOLVE)
#undef KAVREL_RESOLVE
    return library;
  }();
  return kLibrary;
}

// The library's function called, or the status of a file that cannot be opened.
template <typename Function, typename... Arguments>
int forward(Function Cfitsio::*function, int* status, Arguments... arguments) {
  if (const auto called = cfitsio().*function) return called(arguments...);
  if (status != nullptr) *status = kAbsent;
  return kAbsent;
}

}  // namespace

// Definitions of CFITSIO's functions, checked against its own declarations (fitsio.h).
#define KAVREL_FORWARD(name, parameters, status, ...) \
  int name parameters { return forward(&Cfitsio::name, status, __VA_ARGS__); }

extern "C" {

KAVREL_FORWARD(ffclos, (fitsfile* fptr, int* status), status, fptr, status)
KAVREL_FORWARD(ffdkopn, (fitsfile** fptr, const char* filename, int iomode, int* status), status, fptr, filename,
               iomode, status)
KAVREL_FORWARD(ffgcno, (fitsfile* fptr, int casesen, char* templt, int* colnum, int* status), status, fptr, casesen,
               templt, colnum, status)
KAVREL_FORWARD(ffgdesll,
               (fitsfile* fptr, int colnum, LONGLONG rownum, LONGLONG* length, LONGLONG* heapaddr, int* status),
               status, fptr, colnum, rownum, length, heapaddr, status)
KAVREL_FORWARD(ffghadll, (fitsfile* fptr, LONGLONG* headstart, LONGLONG* datastart, LONGLONG* dataend, int* status),
               status, fptr, headstart, datastart, dataend, status)
KAVREL_FORWARD(ffghdn, (fitsfile* fptr, int* chdunum), nullptr, fptr, chdunum)
KAVREL_FORWARD(ffghdt, (fitsfile* fptr, int* exttype, int* status), status, fptr, exttype, status)
KAVREL_FORWARD(ffgiprll, (fitsfile* fptr, int maxaxis, int* imgtype, int* naxis, LONGLONG* naxes, int* status), status,
               fptr, maxaxis, imgtype, naxis, naxes, status)
KAVREL_FORWARD(ffgky, (fitsfile* fptr, int datatype, const char* keyname, void* value, char* comm, int* status),
               status, fptr, datatype, keyname, value, comm, status)
KAVREL_FORWARD(ffgpxvll,
               (fitsfile* fptr, int datatype, LONGLONG* firstpix, LONGLONG nelem, void* nulval, void* array,
                int* anynul, int* status),
               status, fptr, datatype, firstpix, nelem, nulval, array, anynul, status)
KAVREL_FORWARD(ffgtclll, (fitsfile* fptr, int colnum, int* typecode, LONGLONG* repeat, LONGLONG* width, int* status),
               status, fptr, colnum, typecode, repeat, width, status)
KAVREL_FORWARD(ffmahd, (fitsfile* fptr, int hdunum, int* exttype, int* status), status, fptr, hdunum, exttype, status)
KAVREL_FORWARD(ffomem,
               (fitsfile** fptr, const char* name, int mode, void** buffptr, size_t* buffsize, size_t deltasize,
                void* (*mem_realloc)(void* p, size_t newsize), int* status),
               status, fptr, name, mode, buffptr, buffsize, deltasize, mem_realloc, status)
KAVREL_FORWARD(ffcrim, (fitsfile* fptr, int bitpix, int naxis, long* naxes, int* status), status, fptr, bitpix, naxis,
               naxes, status)
KAVREL_FORWARD(ffimem,
               (fitsfile** fptr, void** buffptr, size_t* buffsize, size_t deltasize,
                void* (*mem_realloc)(void* p, size_t newsize), int* status),
               status, fptr, buffptr, buffsize, deltasize, mem_realloc, status)
KAVREL_FORWARD(ffpky, (fitsfile* fptr, int datatype, const char* keyname, void* value, const char* comm, int* status),
               status, fptr, datatype, keyname, value, comm, status)
KAVREL_FORWARD(ffppr, (fitsfile* fptr, int datatype, LONGLONG firstelem, LONGLONG nelem, void* array, int* status),
               status, fptr, datatype, firstelem, nelem, array, status)
KAVREL_FORWARD(fits_is_compressed_image, (fitsfile* fptr, int* status), status, fptr, status)

void ffcmsg(void) {
  if (const auto called = cfitsio().ffcmsg) called();
}

void ffgerr(int status, char* errtext) {
  if (const auto called = cfitsio().ffgerr) return called(status, errtext);
  std::snprintf(errtext, FLEN_STATUS, "CFITSIO absente");
}

}  // extern "C"

// CFITSIO opened when the first FITS file is read (cfitsio_on_demand.h).
#include "programs/cfitsio_on_demand.h"

#include <dlfcn.h>
#include <fitsio.h>

#include <cstdio>
#include <type_traits>

namespace {

// The status of a file that cannot be opened, when the library itself cannot be.
constexpr int kAbsent = FILE_NOT_OPENED;

struct Cfitsio {
  decltype(&::ffclos) ffclos = nullptr;
  decltype(&::ffcmsg) ffcmsg = nullptr;
  decltype(&::ffdkopn) ffdkopn = nullptr;
  decltype(&::ffgcno) ffgcno = nullptr;
  decltype(&::ffgdesll) ffgdesll = nullptr;
  decltype(&::ffgerr) ffgerr = nullptr;
  decltype(&::ffghadll) ffghadll = nullptr;
  decltype(&::ffghdn) ffghdn = nullptr;
  decltype(&::ffghdt) ffghdt = nullptr;
  decltype(&::ffgiprll) ffgiprll = nullptr;
  decltype(&::ffgky) ffgky = nullptr;
  decltype(&::ffgpxvll) ffgpxvll = nullptr;
  decltype(&::ffgtclll) ffgtclll = nullptr;
  decltype(&::ffmahd) ffmahd = nullptr;
  decltype(&::ffomem) ffomem = nullptr;
  decltype(&::fits_is_compressed_image) fits_is_compressed_image = nullptr;
};

const Cfitsio& cfitsio() {
  static const Cfitsio kLibrary = [] {
    Cfitsio library;
    void* handle = dlopen("libcfitsio.so.10", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) return library;
    const auto resolve = [handle](auto& function, const char* name) {
      function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
    };
    resolve(library.ffclos, "ffclos");
    resolve(library.ffcmsg, "ffcmsg");
    resolve(library.ffdkopn, "ffdkopn");
    resolve(library.ffgcno, "ffgcno");
    resolve(library.ffgdesll, "ffgdesll");
    resolve(library.ffgerr, "ffgerr");
    resolve(library.ffghadll, "ffghadll");
    resolve(library.ffghdn, "ffghdn");
    resolve(library.ffghdt, "ffghdt");
    resolve(library.ffgiprll, "ffgiprll");
    resolve(library.ffgky, "ffgky");
    resolve(library.ffgpxvll, "ffgpxvll");
    resolve(library.ffgtclll, "ffgtclll");
    resolve(library.ffmahd, "ffmahd");
    resolve(library.ffomem, "ffomem");
    resolve(library.fits_is_compressed_image, "fits_is_compressed_image");
    return library;
  }();
  return kLibrary;
}

}  // namespace

// The functions the readers call, declared by fitsio.h, so that a definition whose
// signature differs from CFITSIO's does not compile.
extern "C" {

int ffclos(fitsfile* fptr, int* status) {
  if (auto f = cfitsio().ffclos) return f(fptr, status);
  return *status = kAbsent;
}

void ffcmsg(void) {
  if (auto f = cfitsio().ffcmsg) f();
}

int ffdkopn(fitsfile** fptr, const char* filename, int iomode, int* status) {
  if (auto f = cfitsio().ffdkopn) return f(fptr, filename, iomode, status);
  return *status = kAbsent;
}

int ffgcno(fitsfile* fptr, int casesen, char* templt, int* colnum, int* status) {
  if (auto f = cfitsio().ffgcno) return f(fptr, casesen, templt, colnum, status);
  return *status = kAbsent;
}

int ffgdesll(fitsfile* fptr, int colnum, LONGLONG rownum, LONGLONG* length, LONGLONG* heapaddr, int* status) {
  if (auto f = cfitsio().ffgdesll) return f(fptr, colnum, rownum, length, heapaddr, status);
  return *status = kAbsent;
}

void ffgerr(int status, char* errtext) {
  if (auto f = cfitsio().ffgerr) return f(status, errtext);
  std::snprintf(errtext, FLEN_STATUS, "CFITSIO absente");
}

int ffghadll(fitsfile* fptr, LONGLONG* headstart, LONGLONG* datastart, LONGLONG* dataend, int* status) {
  if (auto f = cfitsio().ffghadll) return f(fptr, headstart, datastart, dataend, status);
  return *status = kAbsent;
}

int ffghdn(fitsfile* fptr, int* chdunum) {
  if (auto f = cfitsio().ffghdn) return f(fptr, chdunum);
  return kAbsent;
}

int ffghdt(fitsfile* fptr, int* exttype, int* status) {
  if (auto f = cfitsio().ffghdt) return f(fptr, exttype, status);
  return *status = kAbsent;
}

int ffgiprll(fitsfile* fptr, int maxaxis, int* imgtype, int* naxis, LONGLONG* naxes, int* status) {
  if (auto f = cfitsio().ffgiprll) return f(fptr, maxaxis, imgtype, naxis, naxes, status);
  return *status = kAbsent;
}

int ffgky(fitsfile* fptr, int datatype, const char* keyname, void* value, char* comm, int* status) {
  if (auto f = cfitsio().ffgky) return f(fptr, datatype, keyname, value, comm, status);
  return *status = kAbsent;
}

int ffgpxvll(fitsfile* fptr, int datatype, LONGLONG* firstpix, LONGLONG nelem, void* nulval, void* array, int* anynul,
             int* status) {
  if (auto f = cfitsio().ffgpxvll) return f(fptr, datatype, firstpix, nelem, nulval, array, anynul, status);
  return *status = kAbsent;
}

int ffgtclll(fitsfile* fptr, int colnum, int* typecode, LONGLONG* repeat, LONGLONG* width, int* status) {
  if (auto f = cfitsio().ffgtclll) return f(fptr, colnum, typecode, repeat, width, status);
  return *status = kAbsent;
}

int ffmahd(fitsfile* fptr, int hdunum, int* exttype, int* status) {
  if (auto f = cfitsio().ffmahd) return f(fptr, hdunum, exttype, status);
  return *status = kAbsent;
}

int ffomem(fitsfile** fptr, const char* name, int mode, void** buffptr, size_t* buffsize, size_t deltasize,
           void* (*mem_realloc)(void* p, size_t newsize), int* status) {
  if (auto f = cfitsio().ffomem) return f(fptr, name, mode, buffptr, buffsize, deltasize, mem_realloc, status);
  return *status = kAbsent;
}

int fits_is_compressed_image(fitsfile* fptr, int* status) {
  if (auto f = cfitsio().fits_is_compressed_image) return f(fptr, status);
  return *status = kAbsent;
}

}  // extern "C"

#!/usr/bin/python3
"""A photograph mapped alone by `kavrel carte-synoptique`, against sunpy's own reprojection of it.

One full-disc FITS photograph with a full solar WCS (an observatory's: MDI, HMI) is mapped to
Carrington longitude and latitude twice, on the same grid:
  - by `kavrel carte-synoptique ROTATION FILE --fits OURS.fits` (the rotation under way at the
    photograph unless given), the limb, orientation, instant and observer read in its header;
  - by sunpy, Map(FILE).reproject_to(the WCS of OURS.fits), bilinear (reproject_interp).
Then:
  1. OURS.fits opened as a sunpy Map: its frame is Carrington, and sunpy's longitude and latitude
     of pixel centres (corners, centre, random) are those the map's grid means (longitude
     falling from 360 at the left edge to 0 at the right, latitude rising from the bottom row);
  2. the features: the darkest spots found on both maps (each map divided by its own quiet-Sun
     level, a polynomial in mu fitted over the disc, then thresholded), paired by nearest
     centroid; their differences in longitude (times cos latitude) and latitude, in degrees;
  3. the intensity: Pearson's correlation over the pixels both maps cover, raw and with the
     centre-to-limb darkening divided out of sunpy's (ours evens it out), for the pixels within
     60 and within 80 degrees of the disc centre.
Prints the figures; exits 1 when a spot is more than --tolerance degrees off or the frame is not
placed as the grid means.

Usage: scripts/synoptic_sunpy.py [FILE] [--kavrel build/cli/kavrel] [--rotation N] [--keep DIR]
Runs outside CI (Debian's python3-sunpy and python3-reproject), without network; FILE defaults to
the MDI continuum photograph of /work/shared/data/solar-images, read only.
"""

import argparse
import math
import pathlib
import subprocess
import sys
import tempfile
import warnings

import astropy.units as u
import numpy as np
import sunpy.map
from astropy.coordinates import SkyCoord
from scipy import ndimage
from sunpy.coordinates import frames, sun

ROOT = pathlib.Path(__file__).resolve().parent.parent
DEFAULT_FILE = '/work/shared/data/solar-images/mdi_fd_ic_2010-10-15T230011_1024.fits'
SPOT_SHARE = 0.75  # a spot: darker than this share of the quiet Sun
FEWEST_PIXELS = 12


def kavrel_map(kavrel, rotation, photograph, out, extra):
    command = [kavrel, 'carte-synoptique', str(rotation), photograph, '--fits', str(out)] + extra
    done = subprocess.run(command, capture_output=True, text=True)
    print('$', ' '.join(command))
    for line in (done.stdout + done.stderr).strip().splitlines():
        print('  ', line)
    if done.returncode != 0:
        sys.exit(f'kavrel carte-synoptique failed ({done.returncode})')


def check_frame(ours):
    """sunpy's longitude and latitude of pixel centres against what the grid means."""
    frame_ok = isinstance(ours.coordinate_frame, frames.HeliographicCarrington)
    print(f'frame: {type(ours.coordinate_frame).__name__}, observer {ours.observer_coordinate is not None}, '
          f'date {ours.date.isot}')
    ny, nx = ours.data.shape
    step_lon, step_lat = 360 / nx, 180 / ny
    rng = np.random.default_rng(1)
    cols = np.concatenate([[0, nx - 1, nx // 2, 0, nx - 1], rng.integers(0, nx, 200)])
    rows = np.concatenate([[0, 0, ny // 2, ny - 1, ny - 1], rng.integers(0, ny, 200)])
    world = ours.pixel_to_world(cols * u.pix, rows * u.pix)
    lon = world.lon.to_value(u.deg) % 360
    lat = world.lat.to_value(u.deg)
    want_lon = 360 - (cols + 0.5) * step_lon
    want_lat = lat_of_row(ours, rows, step_lat)
    dlon = np.abs((lon - want_lon + 180) % 360 - 180)
    dlat = np.abs(lat - want_lat)
    print(f'grid: {nx} x {ny}, {step_lon:g} deg a pixel in longitude; pixel centres: '
          f'longitude off by {dlon.max():.2e} deg at most, latitude by {dlat.max():.2e}')
    return frame_ok and dlon.max() < 1e-6 and dlat.max() < 1e-6


def lat_of_row(ours, rows, step_lat):
    """A row's latitude as the grid means it: equal steps of latitude (CAR) or of its sine (CEA)."""
    if 'CEA' in ours.meta.get('ctype2', ''):
        ny = ours.data.shape[0]
        return np.degrees(np.arcsin(-1 + (rows + 0.5) * 2 / ny))
    return -90 + (rows + 0.5) * step_lat


def at_photo(ours, photo):
    """Our grid, its instant and observer the photograph's."""
    meta = dict(ours.meta)
    observer = photo.observer_coordinate.transform_to(frames.HeliographicStonyhurst(obstime=photo.date))
    meta.update({'date-obs': photo.date.isot, 'hgln_obs': observer.lon.to_value(u.deg),
                 'hglt_obs': observer.lat.to_value(u.deg), 'dsun_obs': observer.radius.to_value(u.m)})
    return sunpy.map.Map(ours.data, meta)


def disc_mu(target, photo):
    """mu (cosine of the angle from the disc centre) of each Carrington pixel, seen from the photograph's observer."""
    ny, nx = target.data.shape
    rows, cols = np.indices((ny, nx))
    world = target.pixel_to_world(cols * u.pix, rows * u.pix)
    obs = photo.observer_coordinate.transform_to(frames.HeliographicCarrington(observer='self', obstime=photo.date))
    b0, l0 = obs.lat.to_value(u.rad), obs.lon.to_value(u.rad)
    lat, lon = world.lat.to_value(u.rad), world.lon.to_value(u.rad)
    return np.sin(b0) * np.sin(lat) + np.cos(b0) * np.cos(lat) * np.cos(lon - l0)


def quiet_level(data, mu, inside):
    """The quiet Sun's level as a polynomial in mu, fitted over `inside` with the darkest and brightest left out."""
    keep = inside & np.isfinite(data)
    for _ in range(3):
        basis = np.vstack([np.ones(keep.sum()), mu[keep], mu[keep] ** 2]).T
        coeffs = np.linalg.lstsq(basis, data[keep], rcond=None)[0]
        level = coeffs[0] + coeffs[1] * mu + coeffs[2] * mu ** 2
        ratio = data / level
        keep = inside & np.isfinite(ratio) & (np.abs(ratio - 1) < 0.05)
    return level


def spots(normalised, covered, lon, lat):
    """Centroids (weighted by the darkness) of the connected pixels darker than SPOT_SHARE."""
    dark = covered & (normalised < SPOT_SHARE)
    labels, count = ndimage.label(dark)
    found = []
    for index in range(1, count + 1):
        pixels = labels == index
        if pixels.sum() < FEWEST_PIXELS:
            continue
        weight = 1 - normalised[pixels]
        # Longitudes averaged as unit vectors, for a spot across 0.
        angle = np.radians(lon[pixels])
        mean_lon = math.degrees(math.atan2((weight * np.sin(angle)).sum(), (weight * np.cos(angle)).sum())) % 360
        found.append((mean_lon, float((weight * lat[pixels]).sum() / weight.sum()), int(pixels.sum())))
    return found


def compare_spots(ours_spots, theirs_spots, tolerance):
    print(f'spots darker than {SPOT_SHARE} of the quiet Sun, {FEWEST_PIXELS} pixels or more: '
          f'{len(ours_spots)} on ours, {len(theirs_spots)} on sunpy\'s')
    worst = 0.0
    paired = 0
    for lon, lat, size in sorted(theirs_spots):
        best = min(ours_spots, key=lambda s: ((s[0] - lon + 180) % 360 - 180) ** 2 + (s[1] - lat) ** 2, default=None)
        if best is None:
            print(f'  sunpy ({lon:7.2f}, {lat:6.2f}) {size:5d} px: none on ours')
            continue
        dlon = ((best[0] - lon + 180) % 360 - 180) * math.cos(math.radians(lat))
        dlat = best[1] - lat
        off = math.hypot(dlon, dlat)
        if off > 2:
            print(f'  sunpy ({lon:7.2f}, {lat:6.2f}) {size:5d} px: none on ours within 2 deg')
            continue
        paired += 1
        worst = max(worst, off)
        print(f'  sunpy ({lon:7.2f}, {lat:6.2f}) {size:5d} px, ours ({best[0]:7.2f}, {best[1]:6.2f}) {best[2]:5d} px: '
              f'dlon cos(lat) {dlon:+.3f}, dlat {dlat:+.3f}, {off:.3f} deg')
    print(f'spots paired: {paired}, the farthest {worst:.3f} deg apart')
    return paired > 0 and worst <= tolerance


def correlation(a, b, mask):
    return float(np.corrcoef(a[mask], b[mask])[0, 1]) if mask.sum() > 2 else float('nan')


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('file', nargs='?', default=DEFAULT_FILE)
    parser.add_argument('--kavrel', default=str(ROOT / 'build' / 'cli' / 'kavrel'))
    parser.add_argument('--rotation', type=int)
    parser.add_argument('--tolerance', type=float, default=0.2, help='degrees a spot may be off')
    parser.add_argument('--keep', help='folder where the two maps are left')
    parser.add_argument('extra', nargs='*', help='further options of kavrel carte-synoptique, after --')
    args = parser.parse_args()
    warnings.filterwarnings('ignore')

    photo = sunpy.map.Map(args.file)
    rotation = args.rotation or int(sun.carrington_rotation_number(photo.date))
    print(f'{args.file}: {photo.date.isot}, rotation {rotation} under way '
          f'({float(sun.carrington_rotation_number(photo.date)):.4f})')
    folder = pathlib.Path(args.keep or tempfile.mkdtemp(prefix='synoptic-sunpy-'))
    folder.mkdir(parents=True, exist_ok=True)
    ours_path = folder / 'kavrel.fits'
    kavrel_map(args.kavrel, rotation, args.file, ours_path, args.extra)

    ours = sunpy.map.Map(str(ours_path))
    placed = check_frame(ours)
    # sunpy holds a coordinate fixed in inertial space between two instants: the Carrington
    # grid it maps to is ours at the photograph's instant, seen by its observer (our file's
    # DATE-OBS is the instant longitude 180 crosses the central meridian).
    theirs_data = photo.reproject_to(at_photo(ours, photo).wcs).data
    sunpy.map.Map(theirs_data, ours.meta).save(str(folder / 'sunpy.fits'), overwrite=True)

    ny, nx = ours.data.shape
    rows, cols = np.indices((ny, nx))
    world = at_photo(ours, photo).pixel_to_world(cols * u.pix, rows * u.pix)
    lon, lat = world.lon.to_value(u.deg) % 360, world.lat.to_value(u.deg)
    mu = disc_mu(at_photo(ours, photo), photo)
    ours_data = ours.data.astype(float)
    covered = np.isfinite(ours_data) & np.isfinite(theirs_data)
    print(f'pixels: ours {np.isfinite(ours_data).sum()}, sunpy {np.isfinite(theirs_data).sum()}, '
          f'both {covered.sum()}')

    inside = covered & (mu > 0.5)
    ours_norm = ours_data / quiet_level(ours_data, mu, inside)
    theirs_norm = theirs_data / quiet_level(theirs_data, mu, inside)
    for limit, name in ((0.5, 'within 60 deg'), (math.cos(math.radians(80)), 'within 80 deg')):
        mask = covered & (mu > limit)
        print(f'correlation {name} of the disc centre ({mask.sum()} px): raw {correlation(ours_data, theirs_data, mask):.4f}, '
              f'limb darkening divided out of both {correlation(ours_norm, theirs_norm, mask):.4f}')
    spotted = covered & (mu > 0.3)
    matched = compare_spots(spots(ours_norm, spotted, lon, lat), spots(theirs_norm, spotted, lon, lat), args.tolerance)
    print(f'maps left in {folder}' if args.keep else '')
    return 0 if placed and matched else 1


if __name__ == '__main__':
    sys.exit(main())

// A panorama's bands: the band starts of cels 0-18, their band ends, their obstacle flags.
sizelist 57 short endlist

// Disc 1's library: mask, version, disc flags (0x10000000: disc 1), name, product.
0xFFFFFFFF, 1, 0x10000000, "Quillmark III disc 1", "QM3"

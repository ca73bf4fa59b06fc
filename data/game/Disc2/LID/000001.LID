// Disc 2's library: mask, version, disc flags (0x01000000: disc 2), name, product.
0xFFFFFFFF, 1, 0x01000000, "Quillmark III disc 2", "QM3"

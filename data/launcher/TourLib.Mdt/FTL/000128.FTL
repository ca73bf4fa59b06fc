// The tour's font: the item labels and the caption line (font 4).
4, 1, "Arial", 12

// The game's fonts: the two-column lists' rows (3), the guidebook's "more" notice (7), the
// control bar's line (16), the module messages (19), the opening screen's title (20) and the
// buttons (21).
3, 0, "Arial", 10
7, 2, "Arial", 10
16, 0, "Arial", 10
19, 1, "Times New Roman", 14
20, 1, "Times New Roman", 28
21, 1, "Arial", 12

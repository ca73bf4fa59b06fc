// The engine's fonts beside font 0.
1, 0, "Arial", 10
2, 1, "Arial", 14
3, 2, "Times New Roman", 12
4, 0, "Courier New", 10

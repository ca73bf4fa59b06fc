// Font list: font id, style (1 bold, 2 italic, 4 underline, 0x20 narrow), face, point size.
list short short string short endlist

# Writes the route events' "EVT" records of the sample data (../../game/QM3Data/EVT) from the
# table below: python3 make-records.py. Every first choice has a text and needs no item, so
# Enter always answers an event's dialog.
import os

EVT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'game', 'QM3Data', 'EVT')

# Pictures (CBM): a wagon in trouble, the sick, animals, snow and cold, a storm, the prairie.
WAGON, SICK, STOCK, COLD, STORM, PRAIRIE = 6010, 6011, 6012, 6013, 6014, 6015
# Choice texts (entry n - 1 of "STR" 600040).
(GO_ON, REST, REPAIR, THINK, SPARE, TRADE, SEARCH_STOCK, WITHOUT, TEND, STOP_SICK, MEDICINE, SLOW, WAIT,
 PRESS_ON, BUTCHER, HUNT, GATHER, SEARCH_PERSON, BURY, FOLLOW, HOLD, FIRE, SAVE_STOCK, CLEAR, AROUND,
 LIGHTEN, ACCEPT, DECLINE, START_OVER, END, GRAZE, WATER, SEARCH_WAGON) = range(1, 34)
MEDICINE_ITEM = 173


def c(text, morale=0, fail=0, cap=100, delay=0, stage=0, item=0, outcome=0):
    return (item, text, outcome, morale, fail, cap, delay, stage)


def record(title, choices, picture=PRAIRIE, display=0, sound=0, target=0, mode=0, pictures=None):
    return dict(title=title, choices=choices, pictures=pictures or [picture], display=display, sound=sound,
                target=target, mode=mode)


def illness(title, display=0):
    return record(title, [c(TEND, 0, -1, stage=1), c(STOP_SICK, 1, 0, cap=50, stage=2),
                          c(MEDICINE, 1, 0, stage=3, item=MEDICINE_ITEM)],
                  picture=SICK, display=display, sound=1, target=2)


def weather(title, picture, cap=50):
    return record(title, [c(PRESS_ON, -1, -1, cap=cap), c(WAIT, 0, 0, cap=0, delay=-2)], picture=picture, sound=1)


records = {
    1: record('Abandoned Wagon', [c(GO_ON), c(SEARCH_WAGON, cap=75)], picture=WAGON),
    3: record('Animal Death', [c(GO_ON), c(BUTCHER)], picture=STOCK, sound=1),
    5: record('Animal in Quicksand', [c(WITHOUT), c(SEARCH_STOCK, cap=50)], picture=STOCK, sound=1),
    6: record('Animal Exhausted', [c(GO_ON), c(SLOW), c(LIGHTEN)], picture=STOCK),
    7: record('Animal Lamed', [c(GO_ON), c(REST, delay=12), c(SLOW, cap=50), c(PRESS_ON), c(BUTCHER)], picture=STOCK),
    12: record('Broken Ox Yoke', [c(REPAIR), c(SPARE, item=189), c(TRADE, cap=0)], picture=WAGON, sound=1),
    13: record('Broken Axle', [c(REPAIR), c(SPARE, item=190), c(TRADE, cap=0)], picture=WAGON, sound=1),
    14: record('Broken Tongue', [c(REPAIR), c(SPARE, item=191), c(TRADE, cap=0)], picture=WAGON, sound=1),
    15: record('Broken Wheel', [c(REPAIR), c(SPARE, item=192), c(TRADE, cap=0)], picture=WAGON, sound=1),
    16: record('Buffalo Stampede', [c(HOLD), c(SLOW, cap=50), c(FOLLOW)], picture=STOCK, sound=1),
    22: record('Death', [c(BURY), c(REST, delay=24)], picture=PRAIRIE),
    26: record('Dismissed', [c(ACCEPT)], picture=PRAIRIE),
    29: record('Extreme Cold', [c(PRESS_ON), c(SLOW), c(WAIT, cap=0, delay=-1)], picture=COLD, sound=1),
    30: record('Extreme Heat', [c(PRESS_ON), c(SLOW), c(WAIT, cap=0, delay=-1)], picture=PRAIRIE, sound=1),
    31: record('Fallen Rocks', [c(CLEAR), c(REPAIR), c(AROUND), c(WAIT, cap=0)], picture=WAGON, sound=1),
    32: record('Fallen Timbers', [c(CLEAR), c(REPAIR), c(AROUND), c(WAIT, cap=0)], picture=WAGON, sound=1),
    33: record('Wagon Fire', [c(FIRE), c(SAVE_STOCK)], picture=WAGON, sound=1),
    34: record('Heavy Rain', [c(PRESS_ON), c(CLEAR), c(WAIT, cap=0)], picture=STORM, sound=1),
    39: record('Animal Stolen', [c(GO_ON)], picture=STOCK),
    42: record('Injured Livestock', [c(GO_ON, -1, -1), c(REST, 0, 0, cap=0), c(SLOW, cap=50)], picture=STOCK),
    48: record('Leader Died', [c(END), c(START_OVER)], picture=PRAIRIE),
    52: record('Missing Livestock', [c(WITHOUT), c(SEARCH_STOCK, cap=50), c(WAIT, cap=0, delay=-1)], picture=STOCK),
    53: record('Missing Person', [c(GO_ON), c(SEARCH_PERSON, cap=50), c(WAIT, cap=0, delay=-1)], picture=PRAIRIE),
    54: record('Morale Low', [c(GO_ON, -1, -1), c(REST, 2, 2, cap=0, delay=24)], picture=PRAIRIE),
    57: record('No Food', [c(GO_ON, -2), c(SLOW, -1, cap=75), c(HUNT), c(BUTCHER), c(GATHER)], picture=PRAIRIE),
    58: record('No Greens', [c(GO_ON), c(SLOW, cap=75), c(GATHER)], picture=PRAIRIE),
    59: record('No Grass', [c(GO_ON, -1, -1), c(GRAZE, 0, 0, cap=50)], picture=STOCK),
    60: record('No Meat', [c(GO_ON, -1), c(SLOW, cap=75), c(HUNT), c(BUTCHER)], picture=PRAIRIE),
    66: record('Prairie Fire', [c(PRESS_ON), c(SLOW), c(WAIT, cap=0)], picture=STORM, sound=1),
    67: record('Quicksand', [c(PRESS_ON), c(SLOW), c(AROUND)], picture=STOCK, sound=1),
    72: record('Re-elected', [c(ACCEPT), c(DECLINE)], picture=PRAIRIE),
    81: record('Snowbound', [c(WAIT, -1, -1, cap=0)], picture=COLD, sound=1),
    86: record('Wagon Theft', [c(GO_ON), c(SEARCH_WAGON)], picture=WAGON),
    88: record('Dry Camp', [c(GO_ON, 0, -1, outcome=1), c(REST, cap=0), c(WATER, cap=50)], picture=PRAIRIE),
    94: record('Overloaded', [c(GO_ON), c(LIGHTEN)], picture=WAGON),
    95: record('Overloaded', [c(GO_ON), c(LIGHTEN)], picture=WAGON),
    99: record('Fired', [c(END), c(START_OVER)], picture=PRAIRIE),
    109: weather('Blizzard', COLD, cap=25),
    110: weather('Dust Storm', STORM),
    111: weather('Hailstorm', STORM),
    112: weather('Heavy Fog', PRAIRIE, cap=75),
    113: weather('Locusts', PRAIRIE, cap=100),
    114: weather('Severe Thunderstorm', STORM),
    # Plain rain has no dialog: the travel screen plays the rain clip (SMK 11500) itself.
    115: record('Rain', [c(GO_ON, cap=90)], display=2, pictures=[11500]),
}
# The events of the health conditions: the condition's stage by the choice taken; a cold and
# dysentery show one of the travellers (display kind 4).
for t, title in {2: 'Gunshot Accident', 61: 'Alkali Poisoning', 10: 'Bite', 50: 'Snakebite', 8: 'Bad Cold',
                 9: 'Beriberi', 11: 'Broken Bone', 17: 'Burns', 18: 'Cholera', 19: 'Dysentery', 20: 'Fever',
                 21: 'Wound', 25: 'Internal Injuries', 27: 'Malaria', 28: 'Measles', 35: 'Sprain', 36: 'Sprain',
                 37: 'Sprain', 38: 'Sprain', 41: 'Grippe', 43: 'Lock Jaw', 45: 'Mountain Fever', 49: 'Scurvy',
                 51: 'Smallpox', 55: 'Typhoid', 62: 'Concussion', 68: 'Rabies', 75: 'Illness', 76: 'Worse',
                 79: 'Illness', 80: 'Injury', 82: 'Sprain', 83: 'Worse', 87: 'Illness', 89: 'Thirst',
                 92: 'Illness', 93: 'Illness', 97: 'Bad Water', 98: 'Illness'}.items():
    records.setdefault(t, illness(title, display=4 if t in (8, 19) else 0))


TITLES = [line.strip()[1:-1] for line in open(os.path.join(EVT, '..', '..', 'QM3Lang', 'STR', '600050.STR'))
          if line.startswith('"')]


def write(t, r):
    words = [0, 0, r['target'], r['display'], r['sound'], 0, r['mode']]
    pictures = (r['pictures'] + [0] * 5)[:5]
    lines = ['// %s: %s.' % (TITLES[t], 'no dialog, a clip on the travel screen' if r['display'] == 2 else
                             'a dialog with a traveller\'s clip' if r['display'] == 4 else 'a dialog with a picture'),
             ', '.join(map(str, words)) + ',', ', '.join(map(str, pictures)) + ',', '0, 0, 0,']
    choices = (r['choices'] + [c(0, cap=0)] * 8)[:8]
    for ch in choices:
        lines.append(', '.join(map(str, list(ch) + [0, 0, 0, 0])) + ',')
    lines.append(', '.join(['0'] * 33))
    open(os.path.join(EVT, '%06d.EVT' % t), 'w').write('\n'.join(lines) + '\n')


for t in range(1, 116):
    write(t, records.get(t, record('Route Event', [c(GO_ON)])))

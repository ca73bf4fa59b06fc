# Writes the route events' "EVT" records of the sample data (../../game/QM3Data/EVT) from the
# table below: python3 make-records.py. Every first choice has a text and needs no item, so
# Enter always answers an event's dialog.
import os

EVT = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'game', 'QM3Data', 'EVT')

# Pictures (CBM): a wagon in trouble, the sick, animals, snow and cold, a storm, the prairie.
WAGON, SICK, STOCK, COLD, STORM, PRAIRIE = 6010, 6011, 6012, 6013, 6014, 6015
# Choice texts (entry n - 1 of "STR" 600040, told in the diary as entry n + 176 of 8900).
GO_ON, WAIT_DAY, REPAIR, TRADE, AROUND, CLEAR, CUT = 1, 2, 3, 5, 6, 7, 8
DOCTOR, SICK_WAGON, STOP_SICK, SLOW, SEARCH, GIVE_UP = 11, 12, 13, 14, 15, 16
PUT_OUT, SAVE, TURN_HERD, HUNT, REST_ANIMALS, GO_WITHOUT, BUTCHER, GRAZE, WATER = 19, 20, 23, 24, 26, 27, 31, 34, 35
BURY, KEEP_CAPTAIN, NEW_CAPTAIN, SHELTER, DIG_SNOW, WAIT_STORM, THROUGH_STORM = 46, 53, 54, 55, 57, 58, 59
GATHER, REST, FIRST_LIGHT, CHASE, MEND_HARNESS, GREASE, MEDICINE, LIGHTEN, PICK_UP = 62, 63, 64, 66, 71, 72, 75, 97, 99
MEDICINE_ITEM = 173


def c(text, morale=0, fail=0, cap=100, delay=0, stage=0, item=0, outcome=0):
    return (item, text, outcome, morale, fail, cap, delay, stage)


def record(title, choices, picture=PRAIRIE, display=0, sound=0, target=0, mode=0, pictures=None):
    return dict(title=title, choices=choices, pictures=pictures or [picture], display=display, sound=sound,
                target=target, mode=mode)


def illness(title, display=0):
    return record(title, [c(DOCTOR, 0, -1, stage=1), c(STOP_SICK, 1, 0, cap=50, stage=2),
                          c(MEDICINE, 1, 0, stage=3, item=MEDICINE_ITEM)],
                  picture=SICK, display=display, sound=1, target=2)


def weather(title, picture, cap=50):
    return record(title, [c(THROUGH_STORM, -1, -1, cap=cap), c(WAIT_STORM, 0, 0, cap=0, delay=-2)], picture=picture, sound=1)


records = {
    1: record('Abandoned Wagon', [c(GO_ON), c(PICK_UP, cap=75)], picture=WAGON),
    3: record('Animal Death', [c(GO_ON), c(BUTCHER)], picture=STOCK, sound=1),
    5: record('Animal in Quicksand', [c(GO_WITHOUT), c(SEARCH, cap=50)], picture=STOCK, sound=1),
    6: record('Animal Exhausted', [c(GO_ON), c(REST_ANIMALS), c(LIGHTEN)], picture=STOCK),
    7: record('Animal Lamed', [c(GO_ON), c(REST_ANIMALS, delay=12), c(SLOW, cap=50), c(FIRST_LIGHT), c(BUTCHER)], picture=STOCK),
    12: record('Broken Ox Yoke', [c(REPAIR), c(MEND_HARNESS, item=189), c(TRADE, cap=0)], picture=WAGON, sound=1),
    13: record('Broken Axle', [c(REPAIR), c(GREASE, item=190), c(TRADE, cap=0)], picture=WAGON, sound=1),
    14: record('Broken Tongue', [c(REPAIR), c(GREASE, item=191), c(TRADE, cap=0)], picture=WAGON, sound=1),
    15: record('Broken Wheel', [c(REPAIR), c(GREASE, item=192), c(TRADE, cap=0)], picture=WAGON, sound=1),
    16: record('Buffalo Stampede', [c(GO_ON), c(SLOW, cap=50), c(TURN_HERD)], picture=STOCK, sound=1),
    22: record('Death', [c(BURY), c(REST, delay=24)], picture=PRAIRIE),
    26: record('Dismissed', [c(GO_ON)], picture=PRAIRIE),
    29: record('Extreme Cold', [c(GO_ON), c(SLOW), c(SHELTER, cap=0, delay=-1)], picture=COLD, sound=1),
    30: record('Extreme Heat', [c(GO_ON), c(SLOW), c(SHELTER, cap=0, delay=-1)], picture=PRAIRIE, sound=1),
    31: record('Fallen Rocks', [c(CLEAR), c(CUT), c(AROUND), c(WAIT_DAY, cap=0)], picture=WAGON, sound=1),
    32: record('Fallen Timbers', [c(CLEAR), c(CUT), c(AROUND), c(WAIT_DAY, cap=0)], picture=WAGON, sound=1),
    33: record('Wagon Fire', [c(PUT_OUT), c(SAVE)], picture=WAGON, sound=1),
    34: record('Heavy Rain', [c(THROUGH_STORM), c(CLEAR), c(WAIT_STORM, cap=0)], picture=STORM, sound=1),
    39: record('Animal Stolen', [c(GO_ON)], picture=STOCK),
    42: record('Injured Livestock', [c(GO_ON, -1, -1), c(REST_ANIMALS, 0, 0, cap=0), c(SLOW, cap=50)], picture=STOCK),
    48: record('Leader Died', [c(BURY), c(FIRST_LIGHT)], picture=PRAIRIE),
    52: record('Missing Livestock', [c(GIVE_UP), c(SEARCH, cap=50), c(WAIT_DAY, cap=0, delay=-1)], picture=STOCK),
    53: record('Missing Person', [c(GIVE_UP), c(SEARCH, cap=50), c(WAIT_DAY, cap=0, delay=-1)], picture=PRAIRIE),
    54: record('Morale Low', [c(GO_ON, -1, -1), c(REST, 2, 2, cap=0, delay=24)], picture=PRAIRIE),
    57: record('No Food', [c(GO_ON, -2), c(SLOW, -1, cap=75), c(HUNT), c(BUTCHER), c(GATHER)], picture=PRAIRIE),
    58: record('No Greens', [c(GO_ON), c(SLOW, cap=75), c(GATHER)], picture=PRAIRIE),
    59: record('No Grass', [c(GO_ON, -1, -1), c(GRAZE, 0, 0, cap=50)], picture=STOCK),
    60: record('No Meat', [c(GO_ON, -1), c(SLOW, cap=75), c(HUNT), c(BUTCHER)], picture=PRAIRIE),
    66: record('Prairie Fire', [c(GO_ON), c(SLOW), c(WAIT_DAY, cap=0)], picture=STORM, sound=1),
    67: record('Quicksand', [c(GO_ON), c(SLOW), c(AROUND)], picture=STOCK, sound=1),
    72: record('Re-elected', [c(KEEP_CAPTAIN), c(NEW_CAPTAIN)], picture=PRAIRIE),
    81: record('Snowbound', [c(DIG_SNOW, -1, -1, cap=0)], picture=COLD, sound=1),
    86: record('Wagon Theft', [c(GO_ON), c(CHASE)], picture=WAGON),
    88: record('Dry Camp', [c(GO_ON, 0, -1, outcome=1), c(REST, cap=0), c(WATER, cap=50)], picture=PRAIRIE),
    94: record('Overloaded', [c(GO_ON), c(LIGHTEN)], picture=WAGON),
    95: record('Overloaded', [c(GO_ON), c(LIGHTEN)], picture=WAGON),
    99: record('Fired', [c(BURY), c(FIRST_LIGHT)], picture=PRAIRIE),
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

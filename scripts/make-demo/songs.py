"""The demo kit's songs: words, tunes and where each file lives. All of it is our own."""

from dataclasses import dataclass
from typing import Optional

from music import MAJOR, MINOR, Plan


@dataclass
class Song:
    caption: str
    audio: str  # file name under SONGS, as stored on disk
    audio_in_kit: str  # the path the kit names (letter case as a Windows user typed it)
    plan: Plan
    voices: dict  # voice -> timbre (WAV, MP3) or (track name, GM program, channel, volume, pan)
    volume: int
    words: Optional[str]  # None: the kit has no Text key, so NoRtf.rtf is shown
    text: Optional[str] = None  # file name under TEXTS
    text_in_kit: Optional[str] = None
    icon: Optional[str] = None  # icon name (icons.ICONS); None: no Icon key
    icon_in_kit: Optional[str] = None
    rate: int = 22050


def kit_path(folder, name):
    return "C:\\KARVEL\\%s\\%s" % (folder, name)


SYNTH_PIANO = {"melody": "piano", "chords": "guitar", "bass": "bass"}

DOROGA = """
Пыльная дорога вьётся меж полей,
Ветер тёплый гонит стаи журавлей.
Я иду неспешно, солнце за спиной,
Каждый шаг короче — я иду домой.

* Дорога домой, дорога домой,
Над нею закат золотой.
Пусть долгим был путь — я вернусь как-нибудь
Дорогой домой, дорогой домой.

Старый мост над речкой, мельница и сад,
Там меня, я знаю, встретить будут рад.
Каждый дом знакомый, каждое окно,
Ждали меня долго, ждали так давно.

* Дорога домой, дорога домой,
Над нею закат золотой.
"""

RASSVET = """
Туман над рекой, тишина,
Уходит за лес луна,
И первый луч, как струна,
Звенит — и бежит волна.

* Рассвет, рассвет над рекой,
Подари мне свой покой.
Лодка у тихих берёз,
Капли утренних рос.
"""

ZVEZDY = """
Ночь опустилась на крыши домов,
Звёзды горят без лишних слов.
Ты посмотри: над нами одна
Самая яркая — наша она.

* Звёздная ночь, звёздная ночь,
Грусть улетает прочь.
Песню споём у костра до утра,
Звёздная ночь, ты добра.

Искры взлетают и тают вдали,
Мы у огня до утра сошлись.
Пусть эта песня летит далеко —
С другом и ночью светло и легко.
"""

DVOR = """
В старом дворе скамейка и клён,
Вечером слышен гитарный звон.
Бабушки сели у тёплой стены,
Дети играют до самой луны.

* Старый двор, старый двор,
Тот же смех и разговор.
Сколько лет ни пройдёт —
Он нас снова зовёт.
"""

DOZHD = """
Летний дождь по крышам скачет,
Лужи звонкие поют.
Это небо не заплачет —
Это капли песню льют.

* Дождик, дождик, лей смелей,
Будет радуга светлей!
"""

BLUE_WINDOW = """
Rain on the glass and a light in the hall,
Somebody's radio plays through the wall.
I keep a candle, I keep a chair,
Blue window waiting for you to be there.

* Blue window, blue window,
Shine through the night,
Blue window, blue window,
Guide you home right.

Streets are all silver and buses are late,
Footsteps go by but they pass by the gate.
Still I am humming the tune that you knew,
Blue window waiting, and waiting for you.
"""

COFFEE = """
The town is asleep but the cafe is bright,
Two cups on the table, we're talking all night.
The sugar, the spoon and a song in the air,
Coffee at midnight with nobody there.

* Stir it slow, let the hours go,
Coffee at midnight, the stars hanging low.
"""

LIGHTHOUSE = """
Up on the cliff where the cold waters roar
The keeper climbs up to the lamp once more.
He turns the big mirror, he trims the old wick,
And ships in the dark see the light coming quick.

* Shine, little lighthouse, shine through the foam,
Every lost sailor, come home, come home.
"""

CITY = """
Windows are glowing like stars on a string,
Taxis are yellow and bicycles ring.
Somewhere a trumpet is playing the blues,
City lights, city lights, what shall I choose?

* City lights, city lights,
Dancing all through the night,
City lights, city lights,
Everything's shining bright.
"""

LANTERN = """
One, two, three, under the lantern we sway,
One, two, three, music is leading the way.
Paper and candle, a circle of red,
Dance till the morning is painting ahead.

* Turn, turn, turn with the paper lantern,
Turn, turn, turn till the night is gone.
"""

BARABAN = """
Бум-бум-бум, барабан,
Громче, громче, в такт шагам!
Бей смелей, барабанщик, бей,
Чтобы стало всем веселей!

* Раз-два, левой, правой,
Марш весёлый, марш бравый!

~ (в середине песни темп ускоряется)
"""

SUNNY = """
Step to the left and a step to the right,
Clap with your hands if the sun's shining bright.
Jump like a rabbit and spin like a top,
Sunny steps, sunny steps, never stop!

* La la la, sunny steps,
La la la, one more step!
"""

HELLO_STAGE = """
The curtain goes up and the spotlight is warm,
The microphone's waiting, the band's in good form.
We practised for weeks and we're ready to start:
Hello, stage! Here's a song from the heart.

* Hello, stage! Hello, friends!
Sing along until it ends.
"""

PROSHCHAI = """
Вот и кончился вечер,
Гаснут в зале огни.
Мы прощаемся — встретим
Снова светлые дни.

* Кружит вальс напоследок,
Тихо скрипка поёт.
До свиданья — до лета!
Кто-то снова придёт.
"""


def midi_voices(melody, chords, bass, drums=False):
    voices = {
        "melody": ("Melody", melody, 0, 110, 64),
        "chords": ("Chords", chords, 1, 80, 40),
        "bass": ("Bass", bass, 2, 96, 80),
    }
    if drums:
        voices["drums"] = ("Drums", 0, 9, 90, 64)
    return voices


def song(caption, audio, plan, voices, volume, words, text, icon, *, audio_in_kit=None,
         text_in_kit=None, icon_in_kit=None, rate=22050):
    return Song(
        caption=caption,
        audio=audio,
        audio_in_kit=audio_in_kit or kit_path("SONGS", audio),
        plan=plan,
        voices=voices,
        volume=volume,
        words=words,
        text=text,
        text_in_kit=text_in_kit or (kit_path("TEXTS", text) if text else None),
        icon=icon,
        icon_in_kit=icon_in_kit or (kit_path("ICONS", icon + ".bmp") if icon else None),
        rate=rate,
    )


# Theme number -> (caption, icon, {song slot: Song}); empty slots show the default buttons.
THEMES = {
    1: ("Песни у костра", "fire", {
        1: song("Дорога домой", "дорога.mp3",
                Plan(57, MINOR, 100, 4, [0, 5, 2, 6, 0, 3, 4, 0], "arpeggio", 11),
                SYNTH_PIANO, 70, DOROGA, "doroga.rtf", "road"),
        2: song("Рассвет над рекой", "rassvet.wav",
                Plan(62, MAJOR, 96, 3, [0, 5, 3, 4, 4, 0], "pad", 12),
                {"melody": "flute", "chords": "strings", "bass": "bass"}, 55, RASSVET,
                "rassvet.rtf", "sunrise"),
        3: song("Звёздная ночь", "zvezdy.mid",
                Plan(55, MAJOR, 92, 4, [0, 4, 5, 3, 0, 4, 3, 4, 4, 0], "arpeggio", 13),
                midi_voices(11, 24, 32), 80, ZVEZDY, "zvezdy.rtf", "stars"),
        4: song("Старый двор", "dvor.mp3",
                Plan(60, MAJOR, 120, 4, [0, 3, 4, 0, 5, 1, 4, 0, 3, 0], "stride", 14),
                {"melody": "piano", "chords": "piano", "bass": "bass"}, 45, DVOR, "dvor.rtf",
                "house", icon_in_kit="C:\\KARVEL\\Icons\\HOUSE.bmp"),
        6: song("Летний дождь", "rain.wav",
                Plan(52, MINOR, 132, 4, [0, 3, 6, 2, 4, 0], "arpeggio", 15),
                {"melody": "bell", "chords": "guitar", "bass": "bass"}, 65, DOZHD, "dozhd.rtf",
                "rain", audio_in_kit="C:\\KARVEL\\Songs\\Rain.WAV"),
    }),
    2: ("Evening Jazz", "jazz", {
        1: song("Blue Window", "blue_window.mp3",
                Plan(53, MAJOR, 84, 4, [0, 5, 1, 4, 0, 5, 1, 0], "pad", 21),
                {"melody": "piano", "chords": "organ", "bass": "bass"}, 60, BLUE_WINDOW,
                "blue_window.rtf", "window",
                text_in_kit="C:\\karvel\\texts\\Blue_Window.RTF"),
        2: song("Coffee at Midnight", "coffee.mid",
                Plan(58, MAJOR, 126, 4, [0, 5, 1, 4, 0, 5, 1, 4, 3, 3, 4, 0], "stride", 22,
                     drums=True),
                midi_voices(65, 4, 33, drums=True), 75, COFFEE, "coffee.rtf", "coffee"),
        3: song("The Lighthouse", "lighthouse.wav",
                Plan(50, MINOR, 132, 4, [0, 5, 3, 4, 6, 0], "pad", 23),
                {"melody": "flute", "chords": "strings", "bass": "bass"}, 50, LIGHTHOUSE,
                "lighthouse.rtf", "lighthouse", rate=44100),
        4: song("City Lights", "city_lights.mp3",
                Plan(57, MAJOR, 112, 4, [0, 3, 4, 0, 5, 3, 1, 4, 4, 0], "stride", 24),
                {"melody": "organ", "chords": "piano", "bass": "bass"}, 90, CITY,
                "city_lights.rtf", "city",
                audio_in_kit="C:\\Karvel\\SONGS\\City_Lights.Mp3", rate=44100),
        5: song("Paper Lantern Waltz", "lantern.mid",
                Plan(60, MAJOR, 144, 3, [0, 0, 4, 4, 4, 4, 0, 0, 3, 3, 0, 0, 4, 4, 0, 0],
                     "waltz", 25),
                midi_voices(21, 0, 32), 40, LANTERN, "lantern.rtf", "lantern"),
    }),
    3: ("На сцене / On Stage", "stage", {
        1: song("Весёлый барабан", "baraban.mid",
                Plan(55, MAJOR, 110, 4, [0, 4, 0, 4, 3, 4, 0, 3, 0, 4, 4, 0], "stride", 31,
                     tempo_changes=[(6, 140), (11, 100)], drums=True),
                midi_voices(56, 0, 33, drums=True), 85, BARABAN, "baraban.rtf", "drum"),
        2: song("Sunny Steps", "sunny_steps.mp3",
                Plan(62, MAJOR, 126, 4, [0, 3, 4, 0, 0, 3, 4, 4, 1, 0], "arpeggio", 32),
                {"melody": "bell", "chords": "guitar", "bass": "bass"}, 35, SUNNY,
                "sunny_steps.rtf", "sun"),
        3: song("Интермеццо", "intermezzo.mid",
                Plan(52, MINOR, 76, 4, [0, 3, 4, 0, 5, 3, 4, 0], "pad", 33,
                     tempo_changes=[(6, 64)]),
                midi_voices(68, 48, 42), 55, None, None, "moon"),
        4: song("Hello, Stage!", "hello_stage.mp3",
                Plan(60, MAJOR, 132, 4, [0, 5, 3, 4, 0, 5, 3, 4, 4, 0], "stride", 34),
                {"melody": "piano", "chords": "organ", "bass": "bass"}, 80, HELLO_STAGE,
                "hello_stage.rtf", "guitar"),
        7: song("Прощальный вальс", "proshchai.mid",
                Plan(57, MINOR, 132, 3, [0, 0, 3, 3, 4, 4, 0, 0, 5, 3, 4, 4, 0, 0], "waltz", 35),
                midi_voices(40, 0, 32), 60, PROSHCHAI, "proshchai.rtf", None),
    }),
}

NO_TEXT = """
~ Для этой песни нет текста.

Чтобы добавить слова, щёлкните по кнопке песни правой кнопкой мыши и выберите файл RTF
в редакторе кнопки.
"""

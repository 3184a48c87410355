#!/usr/bin/env python3
"""Writes the built-in layout tables (ORG*.ini) and language tables (LANG*.txt).

The tables are kept here in readable form; run this script after changing them:

    python3 resources/src/make_tables.py

Layout tables are 8-bit text with CR LF line ends. Language tables are UTF-16 little-endian
text with a byte-order mark and CR LF line ends, every entry a quoted "key=value" line.
"""
import pathlib

DATA = pathlib.Path(__file__).resolve().parent.parent / "data"
CRLF = "\r\n"

# The owner's guide, opened by the web button.
WEB_ADDRESS = "https://example.org/kvr5507/user-guide/"


# ---------------------------------------------------------------------------------------------
# Layout tables
# ---------------------------------------------------------------------------------------------

def rgb(prefix, r, g, b):
    return [(prefix + "_R", r), (prefix + "_G", g), (prefix + "_B", b)]


def item(prefix, enable, x, y):
    return [(prefix + "_Enable", enable), (prefix + "_X", x), (prefix + "_Y", y)]


def xy(prefix, x, y):
    return [(prefix + "_X", x), (prefix + "_Y", y)]


def layout_groups():
    """Layout 1, in the order the window applies it: (heading, [(key, value), ...])."""
    # "1 " with its trailing blank: the reader takes a value followed by blanks as the number.
    group_a = [("Size_A", 9)] + rgb("Color_A", 255, 255, 255)
    group_a += item("Btn_A1", "1 ", 590, 49) + item("Btn_A2", 1, 640, 49)
    group_a += item("Btn_A3", 1, 690, 49) + item("Btn_A4", 1, 740, 49)

    group_b = [("Size_B", 11)] + rgb("Color_B", 255, 255, 255)
    group_b += [("Btn_Space_F", 12), ("Btn_Space_B", 12)]
    for name, enable, x, y in [("Btn_B1", 1, 50, 497), ("Btn_B4", 1, 494, 497),
                               ("Btn_B5", 1, 581, 497), ("Btn_B11", 1, 668, 497),
                               ("Btn_B6", 1, 494, 530), ("Btn_B7", 1, 581, 530),
                               ("Btn_B8", 1, 50, 530), ("Btn_B9", 1, 137, 530),
                               ("Btn_B10", 0, 224, 530)]:
        group_b += item(name, enable, x, y)

    page1 = [("Size_C", 11)] + rgb("Color_C", 255, 255, 255) + xy("P1", 174, 131)
    keys = [(135, 166), (524, 192), (560, 168), (138, 294), (138, 244), (524, 238),
            (560, 288), (169, 390), (550, 400)]
    for n, (x, y) in enumerate(keys, start=1):
        page1 += item("Key%d" % n, 1 if n <= 6 else 0, x, y)
    page1 += [("Disable_X", 86), ("Disable_Y", 104), ("Disable_H", 378), ("Disable_W", 587)]

    page2 = [("Size_D", 9)] + rgb("Color_D_Selected", 255, 0, 0)
    page2 += rgb("Color_D_notSelected", 255, 255, 255) + rgb("Color_D_Back", 113, 111, 100)
    page2 += xy("P2", 88, 140) + xy("FKCnt", 254, 172) + xy("FKDelay", 254, 192)
    page2 += xy("Spd", 144, 264) + xy("DbSpd", 144, 346) + xy("ScrSpd", 144, 426)
    for n in range(1, 9):
        row = 34 * (n - 1)
        page2 += xy("DPI%d_Color" % n, 750, 194 + row) + xy("DPI%d_Check" % n, 440, 192 + row)
        page2 += xy("DPI%d" % n, 466, 194 + row) + xy("DPI%d_Value" % n, 502, 194 + row)
        page2 += xy("DPI%d_Steps" % n, 546, 198 + row)

    # The page has no font size of its own; "Size_E" is kept for the table's completeness.
    page3 = [("Size_E", 9)] + rgb("Color_E", 255, 255, 255) + xy("P3", 120, 168)
    page3 += xy("MCPIOn", 158, 196) + xy("MCPIOff", 246, 196)
    page3 += xy("LEDKeyOn", 412, 196) + xy("LEDKeyOff", 502, 196)
    for n, x in enumerate([140, 246, 378, 468, 572], start=1):
        page3 += xy("LEDNTMode%d" % n, x, 244)
    page3 += xy("LEDNTMode1Time", 358, 290) + xy("LEDNTMode2Time", 358, 310)
    page3 += xy("LEDNTMode2Hold", 358, 331) + xy("LEDNTMode3Time", 358, 352)
    page3 += xy("LEDNTMode3Count", 358, 372)
    page3 += xy("LEDColorMode1", 156, 244) + xy("LEDColorMode2", 290, 244)
    # Options 3 and 4 and the four times lie beyond the window: this layout does not offer them.
    page3 += xy("LEDColorBre1", 158, 244) + xy("LEDColorBre2", 246, 244)
    page3 += xy("LEDColorBre3", 2446, 2244) + xy("LEDColorBre4", 2558, 2244)
    page3 += xy("OffTime", 2326, 2296) + xy("RiseTime", 2326, 2320)
    page3 += xy("LightTime", 2326, 2344) + xy("FallTime", 2326, 2370)

    page4 = [("Size_F", 9)] + rgb("Color_F", 255, 255, 255)
    page4 += rgb("Color_F_Font", 0, 128, 0) + rgb("Color_F_Back", 0, 0, 0)
    page4 += xy("P4", 112, 136) + xy("PCMacroName", 128, 186) + xy("MseMacroName", 312, 186)
    page4 += [("MacroNameHeight", 20)]
    page4 += xy("BtnStart", 142, 422) + xy("MacroContent", 520, 183)
    page4 += xy("DelayTime", 300, 312) + xy("RecDelay", 20, 36) + [("RecDelay_H", 23)]
    page4 += xy("DelayEdit", 137, 56) + xy("Insert", 300, 312) + xy("InsertList", 68, 4)
    page4 += xy("InsertRecDelay", 20, 34) + [("InsertRecDelay_H", 23)]
    page4 += xy("InsertDelayEdit", 136, 55) + xy("InsertBtnStart", 114, 100)
    page4 += xy("InsertBtnOK", 110, 126) + xy("InsertBtnCancel", 156, 126)

    return [
        ("Group A: Confirm, Apply, Reset, Exit", group_a),
        ("Group B: page, profile and language buttons", group_b),
        ("Page 1: buttons", page1),
        ("Page 2: advanced", page2),
        ("Page 3: breathing light", page3),
        ("Page 4: macro", page4),
    ]


# Where layouts 2 and 3 differ from layout 1.
LAYOUT_CHANGES = {
    1: {},
    2: {"LEDColorBre1_X": 152},
    3: {
        "Btn_B10_Enable": 1,
        "Key1_X": 144, "Key1_Y": 184, "Key2_X": 554, "Key2_Y": 194,
        "Key3_X": 134, "Key3_Y": 218, "Key4_X": 126, "Key4_Y": 264,
        "Key5_X": 126, "Key5_Y": 320, "Key6_X": 560, "Key6_Y": 254,
        "Key7_Enable": 1,
        "LEDColorBre1_X": 164, "LEDColorBre2_X": 294,
        "LEDColorBre3_X": 446, "LEDColorBre3_Y": 244,
        "LEDColorBre4_X": 558, "LEDColorBre4_Y": 244,
        "OffTime_X": 326, "OffTime_Y": 296, "RiseTime_X": 326, "RiseTime_Y": 320,
        "LightTime_X": 326, "LightTime_Y": 344, "FallTime_X": 326, "FallTime_Y": 370,
    },
}

BANNER = "//" + "*" * 78


def write_layout(n):
    changes = dict(LAYOUT_CHANGES[n])
    lines = ["[org%d]" % n, BANNER, "// KVR5507 window layout",
             "// Positions are in pixels inside each control's page or group; font sizes in",
             "// points; colours as red, green and blue from 0 to 255. An _Enable of 1 shows",
             "// the item.", BANNER]
    for heading, entries in layout_groups():
        lines += ["", "; " + heading]
        for key, value in entries:
            value = changes.pop(key, value)
            lines.append("%s=%s" % (key, value))
    assert not changes, "unknown keys in layout %d: %s" % (n, sorted(changes))
    text = CRLF.join(lines) + CRLF
    (DATA / ("ORG%d.ini" % n)).write_bytes(text.encode("ascii"))


def write_org():
    lines = ["[org]", BANNER, "// Web button and reserve identity", BANNER, "",
             "; Address opened by the web button", "Web=" + WEB_ADDRESS,
             "Web_X=317", "Web_Y=495", "",
             "; A second vendor and product byte that the identity check also accepts",
             "Rev_Manu_ID=0", "Rev_Pro_ID=0"]
    (DATA / "ORG.ini").write_bytes((CRLF.join(lines) + CRLF).encode("ascii"))


# ---------------------------------------------------------------------------------------------
# Language tables
# ---------------------------------------------------------------------------------------------

# (key, English, Portuguese), in groups separated by a blank line in the tables.
TEXTS = [
    [("Title", "KVR5507 Gaming Mouse", "KVR5507 Gaming Mouse")],
    [("Str000", "Confirm", "Confirmar"), ("Str001", "Apply", "Aplicar"),
     ("Str002", "Reset", "Resetar"), ("Str003", "Exit", "Sair"),
     ("Str004", "Main Control", "Controle Principal"), ("Str007", "Advanced", "Avançado"),
     ("Str008", "Breathing Light", "Breathing Light"),
     ("Str009", "Save Profile", "Salvar Perfil"), ("Str010", "Load Profile", "Carregar Perfil"),
     ("Str011", "Portuguese", "Portuguese"), ("Str012", "English", "English"),
     ("Str013", "Language3", "Linguagem 3"), ("Str014", "Macro", "Macro")],
    [("Str020", "The specified device was not found", "Dispositivo específico não encontrado")],
    [("Str100", "No Device Found", "Nenhum dispositivo encontrado"),
     ("Str101", "Please check your device is attached to USB port",
      "Por favor, confira se o dispositivo está conectado na porta USB"),
     ("Str102", "KVR5507Data.bin file type error", "Erro no arquivo KVR5507Data.bin"),
     ("Str103", "Macro bin length out of range", "O comprimento da macro está fora de alcance"),
     ("Str104", "EEPROM space shortage", "EEPROM com pouco espaço"),
     ("Str106", "This macro already exists", "Esta macro já existe"),
     ("Str107", "The mouse manufacturer or product id error",
      "Erro do fabricante ou do ID do produto"),
     # Shown when the mouse did not acknowledge part of a write, even when sent a second time.
     ("Str108", "The mouse did not take all the settings. Please try again.",
      "O mouse não recebeu todas as configurações. Por favor, tente novamente."),
     # File errors; the system's own reason follows on the next line.
     ("Str110", "The file could not be saved.", "Não foi possível salvar o arquivo."),
     ("Str111", "The file could not be read.", "Não foi possível ler o arquivo."),
     # Recording cannot observe the desktop: what it needs, or (Str114) the system's reason on
     # the next line.
     ("Str113", "Recording needs an X11 desktop, or read access to the keyboards and mice under "
      "/dev/input (for example as a member of the \"input\" group).",
      "A gravação precisa de uma área de trabalho X11 ou de acesso de leitura aos teclados e "
      "mouses em /dev/input (por exemplo, como membro do grupo \"input\")."),
     ("Str114", "Recording could not observe the keyboard and the mouse buttons.",
      "A gravação não conseguiu observar o teclado e os botões do mouse."),
     # Asked before Reset, and before closing with settings Apply has not written yet.
     ("Str115", "Reset every button, level and macro in the mouse to the factory settings?",
      "Restaurar todos os botões, níveis e macros do mouse para as configurações de fábrica?"),
     ("Str116", "Apply the changes to the mouse before closing?",
      "Aplicar as alterações ao mouse antes de fechar?"),
     ("Str117", "Yes", "Sim"), ("Str118", "No", "Não"), ("Str119", "Discard", "Descartar")],
    [("Str200", "*", "*"),
     ("Str201", "Standard Mouse Key", "Botão Padrão do Mouse"),
     ("Str202", "Special Key", "Botão Especial"), ("Str203", "Media Fn", "Função Mídia"),
     # The trailing blank is part of the stored entry; the reader trims it.
     ("Str204", "Fn", "Função "),
     ("Str205", "User-defined", "Definido pelo usuário"), ("Str206", "Macro", "Macro"),
     ("Str207", "Computer Fn", "Função Computador")],
    [("Str210", "Left Key", "Botão Esquerdo"), ("Str211", "Right Key", "Botão Direito"),
     ("Str212", "Middle Key", "Botão do Meio"), ("Str213", "Backward", "Retornar"),
     ("Str214", "Forward", "Avançar")],
    [("Str230", "Fire Key", "Botão Disparo"), ("Str231", "DPI", "DPI"),
     ("Str232", "DPI +", "DPI +"), ("Str233", "DPI -", "DPI -"),
     ("Str234", "LED Switch", "Trocar LED")],
    [("Str240", "My Computer", "Meu Computador"), ("Str241", "Calculator", "Calculadora"),
     ("Str242", "E-Mail", "E-Mail")],
    [("Str250", "Play/Pause", "Play/Pause"), ("Str251", "Stop", "Parar"),
     ("Str252", "Previous Track", "Faixa Anterior"), ("Str253", "Next Track", "Próxima Faixa"),
     ("Str254", "Volume +", "Volume +"), ("Str255", "Volume -", "Volume -"),
     ("Str256", "Mute", "Mudo")],
    [("Str260", "Home", "Home"), ("Str261", "Search", "Procurar"),
     ("Str262", "Backward", "Retornar"), ("Str263", "Forward", "Avançar"),
     ("Str264", "Stop", "Parar"), ("Str265", "Refresh", "Atualizar"),
     ("Str266", "Favorites", "Favoritos")],
    [("Str30%d" % i, v, v)
     for i, v in enumerate(["500", "800", "1600", "1200", "2400", "2400", "3200", "4000"])],
    [("Str400", "Record", "Gravação"), ("Str401", "Stop", "Parar"),
     ("Str402", "Rename", "Renomear"), ("Str404", "Export One", "Exportar Um"),
     ("Str405", "Export All", "Exportar Todos"), ("Str406", "Import One", "Importar Um"),
     ("Str407", "Import All", "Importar Todos"), ("Str408", "Delete", "Deletar"),
     ("Str409", "Insert", "Inserir")],
    [("Str410", "Insert Delay Front", "Inserir Atraso Frontal"),
     ("Str411", "Insert Delay Back", "Inserir Atraso Traseiro"),
     ("Str412", "Insert Key Front", "Inserir Botão Frontal"),
     ("Str413", "Insert Key Back", "Inserir Botão Traseiro"),
     ("Str414", "Record Delay", "Gravar Atraso"), ("Str415", "Default Delay", "Atraso Padrão"),
     ("Str416", "No Delay", "Sem Atraso"),
     ("Str417", "Delay Time", "Tempo de Atraso"), ("Str418", "ms", "ms"),
     ("Str420", "OK", "OK"), ("Str421", "OK", "OK"), ("Str422", "Cancel", "Cancelar")],
    [("Str430", "OK for clear macro?", "Deseja limpar macro?"),
     ("Str432", "New Macro", "Nova Macro"), ("Str433", "Delete Macro", "Deletar Macro"),
     ("Str434", "Add to Mouse", "Adicionar ao Mouse")],
    [("Str500", "Assembly Key", "Botão de Montagem"), ("Str501", "Confirm", "Confirmar"),
     ("Str502", "Clear", "Limpar")],
    [("Str510", "Macro Name", "Nome da Macro"), ("Str511", "OK", "OK"),
     ("Str512", "Cancel", "Cancelar")],
]

# Language 3 is the English set with these texts of its own.
LANGUAGE3_CHANGES = {
    "Title": "KVR5507S Gaming Mouse",
    "Str011": "Language1", "Str012": "Language2", "Str204": "WWW Fn",
    "Str231": "CPI", "Str232": "CPI +", "Str233": "CPI -",
    "Str260": "WWW Home", "Str261": "WWW Search", "Str262": "WWW Back",
    "Str263": "WWW Forward", "Str264": "WWW Stop", "Str265": "WWW Refresh",
    "Str266": "WWW Favorites",
    "Str300": "500", "Str301": "800", "Str302": "1000", "Str303": "1200",
    "Str304": "1600", "Str305": "2000", "Str306": "2400", "Str307": "3200",
}


def quoted(key, value):
    return '"' + (key + "=" + value).replace('"', '""') + '"'


def write_language(n):
    changes = dict(LANGUAGE3_CHANGES) if n == 3 else {}
    lines = ["[lang%d]" % n]
    for group in TEXTS:
        lines.append("")
        for key, english, portuguese in group:
            value = portuguese if n == 1 else changes.pop(key, english)
            lines.append(quoted(key, value))
    assert not changes, "unknown keys in language 3: %s" % sorted(changes)
    text = CRLF.join(lines) + CRLF
    (DATA / ("LANG%d.txt" % n)).write_bytes(b"\xff\xfe" + text.encode("utf-16-le"))


def main():
    keys = [k for group in TEXTS for k, _, _ in group]
    assert len(keys) == len(set(keys)) == 106, len(keys)
    write_org()
    for n in (1, 2, 3):
        write_layout(n)
        write_language(n)


if __name__ == "__main__":
    main()

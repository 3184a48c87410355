#include "words.h"

namespace art {

namespace {

// Where the program's language tables have the word, it is taken from there (fire key, the
// delay choices, "ms"), so that panel and captions agree.
PanelWords portuguese() {
    PanelWords w;
    w.fireKey = QString::fromUtf8("Botão Disparo");
    w.repeat = QString::fromUtf8("Repetições (2-127)");
    w.fireTime = "Tempo de Disparo (0-255)";
    w.mouseSpeed = "Velocidade do Mouse";
    w.doubleClickSpeed = "Velocidade do Duplo Clique";
    w.scrollSpeed = "Velocidade de Rolagem";
    w.dpiLevels = QString::fromUtf8("Níveis de DPI");
    w.colour = "Cor";
    w.mcpi = "M+CPI";
    w.buttonEffect = QString::fromUtf8("Efeito dos Botões");
    w.on = "Ligado";
    w.off = "Desligado";
    w.lightMode = "Modo de Luz";
    w.breathing = QString::fromUtf8("Respiração");
    w.light = "Luz";
    w.syncBreathing = QString::fromUtf8("Respiração Sinc.");
    w.lightOff = "Apagado";
    w.offTime = "Tempo Apagado";
    w.riseTime = "Tempo de Subida";
    w.lightTime = "Tempo Aceso";
    w.fallTime = "Tempo de Descida";
    w.sevenColours = "7 Cores";
    w.dpiColour = "Cor do DPI";
    w.pulse = "Pulso";
    w.flash = "Piscar";
    w.colourTime = "Tempo da Cor";
    w.pulseTime = "Tempo do Pulso";
    w.pulseHold = "Pausa do Pulso";
    w.flashTime = "Tempo do Piscar";
    w.flashCount = "Vezes a Piscar";
    w.pcMacros = "Macros do PC";
    w.mouseMacros = "Macros do Mouse";
    w.macroContent = QString::fromUtf8("Conteúdo da Macro");
    w.delayTime = "Tempo de Atraso";
    w.recordDelay = "Gravar Atraso";
    w.defaultDelay = QString::fromUtf8("Atraso Padrão");
    w.noDelay = "Sem Atraso";
    w.ms = "ms";
    return w;
}

PanelWords english() {
    PanelWords w;
    w.fireKey = "Fire Key";
    w.repeat = "Repeat (2-127)";
    w.fireTime = "Fire Time (0-255)";
    w.mouseSpeed = "Mouse Speed";
    w.doubleClickSpeed = "Double Click Speed";
    w.scrollSpeed = "Scroll Speed";
    w.dpiLevels = "DPI Levels";
    w.colour = "Color";
    w.mcpi = "M+CPI";
    w.buttonEffect = "Button Effect";
    w.on = "On";
    w.off = "Off";
    w.lightMode = "Light Mode";
    w.breathing = "Breathing";
    w.light = "Light";
    w.syncBreathing = "Sync Breathing";
    w.lightOff = "Off";
    w.offTime = "Off Time";
    w.riseTime = "Rise Time";
    w.lightTime = "Light Time";
    w.fallTime = "Fall Time";
    w.sevenColours = "7 Colors";
    w.dpiColour = "DPI Color";
    w.pulse = "Pulse";
    w.flash = "Flash";
    w.colourTime = "Color Time";
    w.pulseTime = "Pulse Time";
    w.pulseHold = "Pulse Hold";
    w.flashTime = "Flash Time";
    w.flashCount = "Flash Count";
    w.pcMacros = "PC Macros";
    w.mouseMacros = "Mouse Macros";
    w.macroContent = "Macro Content";
    w.delayTime = "Delay Time";
    w.recordDelay = "Record Delay";
    w.defaultDelay = "Default Delay";
    w.noDelay = "No Delay";
    w.ms = "ms";
    return w;
}

}  // namespace

const PanelWords& wordsOfLayout(int layout) {
    static const PanelWords pt = portuguese();
    static const PanelWords en = english();
    return layout == 1 ? pt : en;
}

}  // namespace art

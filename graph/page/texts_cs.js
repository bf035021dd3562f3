// The pages' texts in Czech, by key, the keys and places of
// texts_en.js (language.js says how a template is written and filled).
// Prose quotes are Czech („slovo“); a C string stays C's, filled in by
// the code. A count's words take each of Czech's plural categories: one
// (1), few (2 to 4), many (a fraction) and other (0, 5 and more).
const BYTES_CS = { one: '{bytes} bajt', few: '{bytes} bajty', many: '{bytes} bajtu', other: '{bytes} bajtů' };
const LOOKED_CS = {
  one: 'prohlédnut {looked} prvek', few: 'prohlédnuty {looked} prvky',
  many: 'prohlédnuto {looked} prvku', other: 'prohlédnuto {looked} prvků',
};

export const TEXTS_CS = {
  // The page's title and heading.
  'page.title': 'wordlist: {title}',
  'title.all': {
    text: '{size}',
    plural: { size: { one: '{size} prvek', few: '{size} prvky', many: '{size} prvku', other: '{size} prvků' } },
  },
  'title.first': {
    text: '{size} {total}',
    plural: {
      size: { one: 'první {size}', few: 'první {size}', many: 'prvních {size}', other: 'prvních {size}' },
      total: { one: '{total|z} prvku', few: '{total|z} prvků', many: '{total|z} prvku', other: '{total|z} prvků' },
    },
  },
  'title.run': 'běh, který vytvořil {title}',

  // The header.
  'view.toMemory': 'Zobrazení paměti (m)',
  'view.toList': 'Zobrazení seznamu (m)',
  'zoom.out': 'Oddálit',
  'zoom.in': 'Přiblížit',
  'zoom.fit': 'Celý seznam (0)',
  'find.label': 'Najít {field}',
  'find.placeholder': 'slovo a Enter',

  // The timeline's controls.
  'timeline.label': 'Běh, přidání po přidání',
  'step.back': 'O jedno přidání zpět',
  'step.forward': 'O jedno přidání vpřed',
  'step.slider': 'Přidání',
  'play.button': 'Přehrát (mezerník)',
  'speed.label': 'Přidání za sekundu {speed}',
  'word.next': 'Další výskyt slova (w)',
  'switch.toFront': 'Ukázat přidávání na začátek (r)',
  'switch.toFrontLabel': 'Ukázat přidávání na začátek (r), běh funkce list_add_front',
  'switch.toSorted': 'Ukázat přidávání s řazením (r)',
  'switch.toSortedLabel': 'Ukázat přidávání s řazením (r), běh funkce list_add_sorted',
  'line.back': 'O jeden řádek kódu zpět',
  'line.backButton': '\u25C0 řádek ([)',
  'line.forward': 'O jeden řádek kódu vpřed',
  'line.forwardButton': 'řádek (]) \u25B6',
  'line.slider': 'Krok po řádcích v tomto přidání',
  'line.speedLabel': 'Řádků za sekundu {speed}',
  'line.none': 'žádné kroky po řádcích',
  'line.inAddition': 'krok {at} {length|z} v tomto přidání',
  'line.inFree': 'krok {at} {length|z} ve funkci list_free',
  'hint.text': 'Jste tu poprvé? Klávesou {lineForward} provedete další řádek kódu seznamu a klávesou ' +
    '{lineBack} se vrátíte o řádek zpět, klávesami {stepForward} a {stepBack} se posunete o celé přidání ' +
    'vpřed a zpět, {space} spustí přehrávání. {close}',
  'hint.close': 'Rozumím',
  'key.space': 'mezerník',
  'key.home': 'Home',
  'key.end': 'End',

  // The code and its calls.
  'lesson.label': 'Právě prováděný kód seznamu',
  'phase.look': 'hledat slovo',
  'phase.count': 'započítat ho ještě jednou',
  'phase.allocate': 'alokovat prvek a zkopírovat slovo',
  'phase.place': 'najít místo',
  'phase.link': 'připojit ho',
  'marks.next': '\u25B6 na řadě',
  'marks.ran': '\u2713 právě proběhl',
  'code.label': 'Kód seznamu, src/word_list.cpp, s vyznačeným řádkem, který je na řadě, a řádkem, ' +
    'který právě proběhl',
  'frames.label': 'Aktivní volání, od nejvnějšího',
  'compare.equal': '{word} proti {other}: stejná, nalezeno',
  'compare.unequal': '{word} proti {other}: různá, pokračuje se',
  'compare.greater': '{word} proti {other}: větší, pokračuje se',
  'compare.less': '{word} proti {other}: menší, tady se zastaví',
  'said.line': 'Řádek {line}: {code} {compare}',

  // The status line.
  'run.sorted': 'řazeně',
  'run.front': 'na začátek',
  'status.named': '{run}: {status}',
  'status.empty': 'Krok {step} {total|z}: seznam je prázdný',
  'status.step': 'Krok {step} {total|z}: {told}',
  'status.line': '{told}; řádek {line} (krok {at} {length|z} v tomto přidání)',
  'status.free': 'Po kroku {step} {total|z}: list_free uvolňuje seznam; řádek {line} ' +
    '(krok {at} {length|z} ve funkci list_free)',
  'told.counted': 'slovo „{word}“ započítáno na pozici {position}, počet {count} (prohlédnuto: {first})',
  'told.inserted': 'slovo „{word}“ vloženo na pozici {position} (prohlédnuto: {first} + {second})',
  'told.insertedFront': 'slovo „{word}“ vloženo na pozici {position} (prohlédnuto: {first})',
  'told.uncounted': 'slovo „{word}“ nezapočítáno',
  'told.found': 'slovo „{word}“ nalezeno na pozici {position} (prohlédnuto: {first})',
  'told.looking': 'slovo „{word}“: hledá se, zatím prohlédnuto: {first}',
  'told.goes': 'slovo „{word}“ patří na pozici {position} (prohlédnuto: {first} + {second})',
  'told.goesFront': 'slovo „{word}“ patří na pozici {position} (prohlédnuto: {first})',
  'told.absent': 'slovo „{word}“ v seznamu není (prohlédnuto: {first})',
  'told.placing': 'slovo „{word}“ v seznamu není (prohlédnuto: {first}); hledá se jeho místo, zatím ' +
    'prohlédnuto: {second}',

  // The picture, and what it shows told for a screen reader.
  'canvas.label': 'Seznam: kliknutím na rámeček ho vyberete; šipky sledují NEXT',
  'canvas.up': '+{bytes} B k dalšímu výše',
  'canvas.more': {
    text: '\u2026 {more}',
    plural: { more: { one: 'a {more} další', few: 'a {more} další', many: 'a {more} dalšího', other: 'a {more} dalších' } },
  },
  'scene.heading': 'Co ukazuje obrázek:',
  'scene.box': '{where}: {word}, počet {count}, na adrese {address}, NEXT {next}',
  'scene.position': 'pozice {position}',
  'scene.outside': 'mimo seznam',
  'scene.word': 'slovo „{word}“',
  'scene.wordNull': 'slovo null',
  'scene.wordUnset': 'slovo nezkopírováno',
  'scene.wordReleased': 'slovo uvolněno',
  'scene.more': {
    text: 'a {more}',
    plural: {
      more: {
        one: '{more} další rámeček', few: '{more} další rámečky', many: '{more} dalšího rámečku',
        other: '{more} dalších rámečků',
      },
    },
  },
  'scene.points': '{label} ukazuje na {target}',
  'scene.pointsNext': '{label} ukazuje na pole NEXT prvku {target}',
  'touch.label': 'Sledovat odkazy',
  'touch.first': 'První',
  'touch.previous': 'Předchozí prvek (\u2190)',
  'touch.next': 'Další prvek (\u2192)',
  'touch.last': 'Poslední',

  // The selected element, and the answers to keys.
  'details.empty': 'Seznam je prázdný.',
  'details.none': 'Není vybrán žádný prvek.',
  'details.made': 'ještě nepřipojený: {fields}',
  'details.unlinked': 'odpojený, ještě neuvolněný: {fields}',
  'details.unlinkedReleased': 'odpojený, jeho slovo uvolněno: {fields}',
  'details.unset': '(alokováno, ještě nezkopírováno)',
  'details.released': 'Prvek „{word}“ odpojila a uvolnila funkce list_free: adresa {address} je volná.',
  'details.later': 'Slovo „{word}“ v seznamu ještě není: vloží se v kroku {step}.',
  'pointed.made': 'nepřipojený: {word}',
  'pointed.unlinked': 'odpojený: {word}',
  'note.madeNull': 'NEXT ještě nepřipojeného prvku je null: *slot ještě není zkopírován.',
  'note.unlinkedNull': 'NEXT odpojeného prvku je null: byl poslední.',
  'note.end': 'NEXT prvku {position} je null: tady seznam končí.',
  'note.notDrawn': {
    text: 'NEXT prvku {position} vede {left}.',
    plural: {
      left: {
        one: 'na {left} nenakreslený prvek', few: 'na {left} nenakreslené prvky',
        many: 'na {left} nenakresleného prvku', other: 'na {left} nenakreslených prvků',
      },
    },
  },
  'note.notInList': 'Sem neukazuje žádný prvek seznamu: tento prvek v seznamu není.',
  'note.head': 'Sem ukazuje head: před prvkem 1 už žádný není.',
  'note.selectFirst': 'Nejdřív vyberte prvek: hledá se další přidání jeho slova.',
  'note.noLater': 'Žádné pozdější přidání tohoto slova.',
  'found.head': 'Slovo „{word}“ v seznamu není: připojilo by se na začátek.',
  'found.after': 'Slovo „{word}“ v seznamu není: připojilo by se za prvek {position} „{after}“.',

  // The footer: the cost of the run, the legend, the keys.
  'plot.label': 'Prohlédnuté prvky v každém přidání a jejich průběžný součet',
  'totals.one': {
    text: '{looked} při {additions} {words}',
    plural: {
      looked: LOOKED_CS,
      additions: {
        one: '{additions} přidání', few: '{additions} přidáních', many: '{additions} přidání',
        other: '{additions} přidáních',
      },
      words: {
        one: '{words} různého slova', few: '{words} různých slov', many: '{words} různého slova',
        other: '{words} různých slov',
      },
    },
  },
  'totals.two': '{sorted}; {front}; {ratio}',
  'totals.sorted': { text: '{run}: {looked}', plural: { looked: LOOKED_CS } },
  'totals.front': '{run}: {looked}',
  'totals.ratio': '{front} \u00F7 {sorted}: {ratio}',
  'legend.label': 'Co znamenají barvy a čáry',
  'legend.walk': 'prohlédnutý hledáním slova',
  'legend.walkBoth': 'prohlédnutý oběma hledáními',
  'legend.selected': 'vybraný',
  'legend.added': 'přidávaný prvek (čárkovaně: ještě nepřipojený)',
  'legend.next': 'NEXT',
  'legend.pointer': 'proměnná kódu a to, na co ukazuje',
  'legend.target': '{target}NEXT vybraného prvku a {source}prvek, který na něj ukazuje',
  'legend.null': 'null',
  'help.text': 'Klikněte na rámeček, nebo sledujte odkazy klávesami {home} {end} {left} {right}; {view} ' +
    'přepíná zobrazení; kolečkem nebo klávesami {plus} {minus} {zero} se mění přiblížení, tažením se ' +
    'obrázek posouvá (dvěma prsty se přibližuje).',

  // try.html.
  'try.title': 'wordlist: vyzkoušejte si ho',
  'try.input': 'Text ke spočítání',
  'try.textLabel': 'Text ke spočítání',
  'try.about': 'Napsaný nebo vložený text se počítá jako UTF-8 s konci řádků prohlížeče (LF). Soubor ' +
    'vybraný nebo přetažený na stránku se počítá bajt po bajtu, včetně CR LF.',
  'try.file': 'Soubor {field}',
  'try.count': 'Spočítat',
  'try.progress': 'Spočítaná část textu',
  'try.cancel': 'Zrušit',
  'try.listing': 'Výpis, jak ho tiskne wordlist',
  'try.copy': 'Kopírovat',
  'try.askCount': 'Spočítat',
  'try.askKeep': 'Nepočítat',
  'try.ask': 'Tento text má {size} MB: jeho spočítání potrvá {time} a mezitím ho můžete zrušit. Spočítat ho?',
  'try.seconds': 'asi {seconds} s',
  'try.minutes': 'asi {minutes} min',
  'try.counting': {
    text: '{bytes}',
    plural: {
      bytes: {
        one: 'Počítá se {bytes} bajt\u2026', few: 'Počítají se {bytes} bajty\u2026',
        many: 'Počítá se {bytes} bajtu\u2026', other: 'Počítá se {bytes} bajtů\u2026',
      },
    },
  },
  'try.counted': {
    text: '{bytes}',
    plural: {
      bytes: {
        one: 'Spočítán {bytes} bajt.', few: 'Spočítány {bytes} bajty.', many: 'Spočítáno {bytes} bajtu.',
        other: 'Spočítáno {bytes} bajtů.',
      },
    },
  },
  'try.countedLong': {
    text: '{bytes} Text je příliš dlouhý, aby ho adresa unesla.',
    plural: {
      bytes: {
        one: 'Spočítán {bytes} bajt.', few: 'Spočítány {bytes} bajty.', many: 'Spočítáno {bytes} bajtu.',
        other: 'Spočítáno {bytes} bajtů.',
      },
    },
  },
  'try.cancelled': 'Počítání zrušeno: stránka ukazuje, co ukazovala předtím.',
  'try.chosen': { text: '{name}: {bytes}, počítá se s nimi tak, jak jsou.', plural: { bytes: BYTES_CS } },
  'try.unreadable': 'Soubor {name} se nepodařilo přečíst: {why}',
  'try.badLink': 'Adresa nese text, který nelze přečíst: je zkrácený nebo změněný.',
  'try.linkName': 'Text z odkazu',
  'try.copied': 'Zkopírováno.',
  'try.selected': 'Vybráno: zkopírujete ho klávesami Ctrl+C.',
  'try.failed': 'Text se nepodařilo spočítat: {why}',
  'try.workerFailed': 'Worker selhal',
  'try.nothing': 'Nic se nespočítalo: {why}.',
  'try.noMemory': 'text se nevejde do paměti',
  'try.status': 'návratový kód {status}',
  'try.notShown': 'Přehrávání se nepodařilo zobrazit: {why}',
  'try.notMade': 'Přehrávání se nepodařilo vytvořit: {why}',
  'try.said': '{why}',

  // Váš tah: učící se odpovídá na každý rozhodující krok přidání.
  'ask.toggle': 'Váš tah (y)',
  'ask.label': 'Váš tah',
  'ask.turnedOn': 'Váš tah: krok vpřed klávesou ], . nebo mezerníkem se zastaví před každým rozhodujícím řádkem ' +
    'a zeptá se, co udělá.',
  'ask.turnedOff': 'Váš tah je vypnutý: krokování zase projde každý řádek bez ptaní.',
  'ask.idle': 'Krokujte vpřed klávesou ] nebo . k další otázce.',
  'ask.answerAbsent': 'V seznamu není (n)',
  'ask.answerHead': 'Hlava seznamu (h)',
  'ask.answerNull': 'NULL (n)',
  'ask.questionFound': 'Než se provede řádek {line}: je „{word}“ v seznamu? Klikněte na prvek, který ho drží, nebo ' +
    'ho vyberte a stiskněte Enter; stiskněte n, pokud v seznamu není.',
  'ask.questionPlace': 'Než se provede řádek {line}: „{word}“ v seznamu není, kam tedy patří? Klikněte na prvek, za ' +
    'který přijde, nebo ho vyberte a stiskněte Enter; stiskněte h, pokud přijde na začátek.',
  'ask.questionNext': 'Než se provede řádek {line}: kam bude ukazovat NEXT nového prvku? Klikněte na ten prvek, ' +
    'nebo ho vyberte a stiskněte Enter; stiskněte n pro NULL.',
  'ask.questionSlot': 'Než se provede řádek {line}: který ukazatel bude ukazovat na nový prvek? Klikněte na prvek, ' +
    'jehož NEXT to je, nebo ho vyberte a stiskněte Enter; stiskněte h pro hlavu seznamu.',
  'ask.right': 'Správně.',
  'ask.wrongElement': 'Špatně: odpověděli jste „{word}“ na adrese {address}.',
  'ask.wrongNextOf': 'Špatně: odpověděli jste NEXT prvku „{word}“ na adrese {address}.',
  'ask.wrongAbsent': 'Špatně: odpověděli jste, že v seznamu není.',
  'ask.wrongHead': 'Špatně: odpověděli jste hlavu seznamu.',
  'ask.wrongNull': 'Špatně: odpověděli jste NULL.',
  'ask.foundAt': '„{word}“ v seznamu je: find_equal ho porovnává s prvky od hlavy a prvek {position} na adrese ' +
    '{address} ho drží, takže se jeho počet zvýší o jedna.',
  'ask.foundAbsent': {
    text: '„{word}“ v seznamu není: find_equal ho porovnal s každým prvkem seznamu ({count}) a žádný se nerovná, ' +
      'takže se pro slovo vytvoří nový prvek.',
    plural: { count: { one: '{count} prvek', few: '{count} prvky', many: '{count} prvku', other: '{count} prvků' } },
  },
  'ask.foundEmpty': '„{word}“ v seznamu není: seznam je prázdný, find_equal nemá s čím porovnávat a pro slovo se ' +
    'vytvoří nový prvek.',
  'ask.placeAfter': '„{word}“ přijde za „{after}“: list_find_predecessor projde všechna slova, která se řadí před ' +
    'něj, a v pořadí bajtů je „{after}“ < „{word}“ < „{next}“.',
  'ask.placeEnd': '„{word}“ přijde za „{after}“, na konec: každé slovo seznamu se v pořadí bajtů řadí před něj, ' +
    '„{after}“ jako poslední.',
  'ask.placeHead': '„{word}“ přijde na začátek: v pořadí bajtů se řadí před „{next}“, první slovo seznamu.',
  'ask.placeEmpty': '„{word}“ přijde na začátek: seznam je prázdný.',
  'ask.reasonCapitals': 'V pořadí bajtů jsou velká písmena před malými, proto „{less}“ < „{more}“.',
  'ask.reasonPrefix': 'Slovo je před delšími slovy, která jím začínají, proto „{less}“ < „{more}“.',
  'ask.reasonBytes': 'Písmeno mimo ASCII tvoří v UTF-8 bajty nad 127, za všemi znaky ASCII, proto „{less}“ < ' +
    '„{more}“.',
  'ask.nextHead': 'NEXT dostane, co drželo *slot: slot je &head a hlava držela adresu prvního prvku, „{next}“, ' +
    '{address}.',
  'ask.nextHeadNull': 'NEXT dostane, co drželo *slot: slot je &head a hlava držela NULL, protože seznam je prázdný.',
  'ask.nextAfter': 'NEXT dostane, co drželo *slot: slot je NEXT prvku „{after}“, který držel adresu „{next}“, ' +
    '{address}.',
  'ask.nextAfterNull': 'NEXT dostane, co drželo *slot: slot je NEXT prvku „{after}“, posledního prvku, který ' +
    'držel NULL.',
  'ask.slotHead': 'slot je &head, protože „{word}“ přijde na začátek: *slot = node nasměruje hlavu na nový prvek.',
  'ask.slotFront': 'slot je &head, protože list_add_front připojuje každý nový prvek na začátek: *slot = node ' +
    'na něj nasměruje hlavu.',
  'ask.slotAfter': 'slot je &{address}->next, NEXT prvku „{after}“, protože „{word}“ přijde za něj: *slot = node ' +
    'nasměruje ten NEXT na nový prvek.',
  'ask.status': 'Krok {step} {total|z}: „{word}“; řádek {line} se má provést a jste na tahu.',
  'ask.statusNamed': '{run}: Krok {step} {total|z}: „{word}“; řádek {line} se má provést a jste na tahu.',
  'ask.notInsertedYet': '„{word}“ v seznamu ještě není.',
  'ask.wait': 'Nejdřív odpovězte na otázku; pak ] provede řádek {line}.',
  'ask.findWaits': 'Nejdřív odpovězte na otázku: hledání by odpověď prozradilo.',
  'ask.selectFirst': 'Nejdřív vyberte prvek klávesami Home, End, \u2190 a \u2192, nebo na jeden klikněte.',
  'ask.noHead': 'Hlava seznamu na tuto otázku neodpovídá: vyberte prvek, nebo stiskněte n.',
  'ask.noNull': 'Klávesa n na tuto otázku neodpovídá: vyberte prvek, nebo stiskněte h pro hlavu seznamu.',
  'ask.score': 'Skóre: správně {right} {asked|z}.',
  'ask.scoreAddition': 'Skóre: správně {right} {asked|z}. Toto přidání: správně {additionRight} {additionAsked|z}.',
  'ask.markTruth': 'správná odpověď',
  'ask.markGiven': 'vaše odpověď',
  'ask.nullTarget': 'NULL',
  'ask.pointedHead': 'hlava seznamu',
  'ask.pointedNull': 'NULL',
};

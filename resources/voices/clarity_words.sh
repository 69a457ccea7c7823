# clarity_words.sh: sourced by the clarity checks (check_clarity.sh,
# check_callsigns.sh). What each set's words should be heard as, and a
# pronunciation dictionary for Debian's pocketsphinx that knows them all.

clarity_model=/usr/share/pocketsphinx/model/en-us

clarity_need_pocketsphinx() {
  if ! command -v pocketsphinx_batch >/dev/null || [[ ! -d $clarity_model/en-us ]]; then
    echo "$(basename "$0"): needs pocketsphinx: apt-get install pocketsphinx pocketsphinx-en-us" >&2
    exit 2
  fi
}

# The words of the letters A..Z in each set, and of the digits 0..9 (plain and
# figure code words), as the recogniser spells them.
clarity_letters=(alfa bravo charlie delta echo foxtrot golf hotel india juliett kilo lima mike
  november oscar papa quebec romeo sierra tango uniform victor whiskey xray yankee zulu)
clarity_places=(amsterdam baltimore casablanca denmark edison florida gallipoli havana italia
  jerusalem kilogramme liverpool madagascar "new york" oslo paris quebec roma santiago
  tripoli uppsala valencia washington xanthippe yokohama zurich)
clarity_other=(america boston canada denmark england france germany honolulu italy japan kilowatt
  london mexico norway ontario pacific quebec radio santiago tokyo united victoria
  washington xray yokohama zanzibar)
clarity_digits=(zero one two three four five six seven eight nine)
clarity_figures=(nadazero unaone bissotwo terrathree kartefour pantafive soxisix setteseven oktoeight novenine)

# clarity_dictionary WORD...: the model's pronunciations of the words (every
# variant it has), the words it lacks, and the examination pronunciations
# where they differ from American English (the open "ah" of AL-FAH, DELL-TAH,
# IN-DEE-AH, LEE-MAH, PAH-PAH, SEE-AIR-RAH, OSS-CAH, VIK-TAH; KEH-BECK; WUN,
# TREE, FOW-ER, FIFE, AIT, NIN-ER) as variants of the same words: a listener
# who knows the examination words hears them as those words. Fails,
# naming them, when a word has no pronunciation.
clarity_dictionary() {
  local dict
  dict=$({
    for w in "$@"; do
      grep -E "^$w(\([0-9]+\))? " "$clarity_model/cmudict-en-us.dict" || true
    done
    cat <<'DICT'
juliett JH UW L IY EH T
xray EH K S R EY
kilogramme K IH L AH G R AE M
xanthippe Z AE N TH IH P IY
uppsala UH P S AA L AH
gallipoli G AH L IH P AH L IY
roma R OW M AH
alfa(9) AE L F AA
delta(9) D EH L T AA
india(9) IH N D IY AA
lima(9) L IY M AA
papa(9) P AA P AA
sierra(9) S IY EH R AA
quebec(9) K EH B EH K
oscar(9) AA S K AA
victor(9) V IH K T AA
one(9) W AH N
three(9) T R IY
four(9) F OW ER
five(9) F AY F
eight(9) EY T
nine(9) N AY N ER
nadazero N AA D AA Z EY R OW
unaone UW N AA W AH N
bissotwo B IY S OW T UW
terrathree T EY R AA T R IY
kartefour K AA R T EY F OW ER
pantafive P AE N T AA F AY V
soxisix S AA K S IY S IH K S
setteseven S EY T EY S EH V AH N
oktoeight AA K T OW EY T
novenine N OW V EY N AY N ER
DICT
  } | sort -u)
  local missing=""
  for w in "$@"; do
    grep -q -E "^$w " <<<"$dict" || missing+=" $w"
  done
  if [[ -n $missing ]]; then
    echo "$(basename "$0"): no pronunciation for:$missing" >&2
    return 1
  fi
  # Only the words asked for: the extras above name words of every set.
  local pattern
  pattern=$(printf '%s\n' "$@" | sort -u | paste -sd'|')
  grep -E "^($pattern)(\([0-9]+\))? " <<<"$dict"
}

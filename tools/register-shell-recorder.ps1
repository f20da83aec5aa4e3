# Makes the tests' recorder (tests/recorder) this Windows user's handler for help files and web
# addresses, as tools/wine-lib.sh does in the Wine prefix (Windows, unlike Wine 8, reads the
# user's own classes), so that the end-to-end tests see what the program asked the shell to open.
# A default browser chosen in Windows' settings comes before the user's own handler for http and
# https: the scheme tavimbo-recorded, which no browser claims, reaches the recorder whatever the
# browser (a build whose TAVIMBO_HOME_PAGE_URL starts with tavimbo-recorded://).
param([Parameter(Mandatory)][string]$Recorder)
$ErrorActionPreference = 'Stop'
$classes = 'HKCU:\Software\Classes'
$protocols = 'http', 'https', 'tavimbo-recorded'
New-Item -Force "$classes\.chm" -Value TavimboShellRecorder | Out-Null
foreach ($class in @('TavimboShellRecorder') + $protocols) {
  New-Item -Force "$classes\$class\shell\open\command" -Value "`"$Recorder`" `"%1`"" | Out-Null
}
foreach ($protocol in $protocols) {
  New-ItemProperty -Force "$classes\$protocol" -Name 'URL Protocol' -Value '' | Out-Null
}

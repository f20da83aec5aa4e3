# Makes the tests' recorder (tests/recorder) this Windows user's handler for help files and web
# addresses, as tools/wine-lib.sh does in the Wine prefix (Windows, unlike Wine 8, reads the
# user's own classes), so that the end-to-end tests see what the program asked the shell to open.
param([Parameter(Mandatory)][string]$Recorder)
$ErrorActionPreference = 'Stop'
$classes = 'HKCU:\Software\Classes'
New-Item -Force "$classes\.chm" -Value TavimboShellRecorder | Out-Null
foreach ($class in 'TavimboShellRecorder', 'http', 'https') {
  New-Item -Force "$classes\$class\shell\open\command" -Value "`"$Recorder`" `"%1`"" | Out-Null
}
foreach ($protocol in 'http', 'https') {
  New-ItemProperty -Force "$classes\$protocol" -Name 'URL Protocol' -Value '' | Out-Null
}

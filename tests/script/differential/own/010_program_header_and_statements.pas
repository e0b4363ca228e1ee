// program and uses are no reserved words; a local variable starts at zero on every call; break
// leaves a case statement; the lowest Integer divided by -1 stays itself, with remainder 0.
program uses;
uses SysUtils;
var uses: string = 'u';
  a, b: Integer;
procedure P;
var k: Integer;
begin
  Inc(k);
  PrintLn(k);
end;
begin
  PrintLn(uses);
  P;
  P;
  case 1 of
    1:
    begin
      Print('a');
      break;
      Print('b');
    end;
  end;
  PrintLn('c');
  a := -2147483647 - 1;
  b := -1;
  PrintLn(a div b);
  PrintLn(a mod b);
end.

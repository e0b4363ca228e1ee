// An error crosses the script calls above it as the calls return: whatever a caller would still
// have done after the failing call (store, print, branch, loop) is skipped; handlers and finally
// blocks see the error where it was raised.
var g, v: Integer;
function Fail(n: Integer): Integer;
begin
  if n = 0 then Result := 1 div n else Result := Fail(n - 1) + 1;
  g := g + 1;
end;
function CatchAt(m, n: Integer): Integer;
begin
  if m > 0 then Result := CatchAt(m - 1, n) + 1
  else
    try
      Result := Fail(n);
    except
      on E: Exception do Result := 100;
    end;
end;
procedure SetVar(var x: Integer; n: Integer);
begin
  x := 1;
  x := Fail(n);
end;
function Fin(n: Integer): Integer;
begin
  try Result := Fail(n); finally g := g + 1; end;
end;
function FinExit(n: Integer): Integer;
begin
  try Result := Fail(n); finally Exit; end;
end;
function Reraise(n: Integer): Integer;
begin
  try
    Result := Fail(n);
  except
    on E: Exception do
    begin
      g := g + 10;
      raise E;
    end;
  end;
end;
begin
  PrintLn(CatchAt(3, 50));
  PrintLn(g);
  g := 5;
  try g := Fail(10); except end;
  PrintLn(g);
  try PrintLn(Fail(3)); except end;
  PrintLn('x');
  try SetVar(v, 5); except end;
  try Inc(v, Fail(2)); except end;
  PrintLn(v);
  try if Fail(2) = 0 then PrintLn('then') else PrintLn('else'); except end;
  try while Fail(2) = 0 do PrintLn('loop'); except end;
  PrintLn('.');
  try
    try Fail(20); finally Print('f'); end;
  except
    on E: Exception do PrintLn(E.ClassName + ' ' + E.Message);
  end;
  g := 0;
  try Fin(30); except PrintLn(g); end;
  try FinExit(3); PrintLn('no'); except on E: Exception do PrintLn(E.Message); end;
  g := 0;
  try Reraise(10); except on E: EDivByZero do PrintLn(E.Message); end;
  PrintLn(g);
  try
    try Fail(5); except on E: EConvertError do PrintLn('no'); end;
  except
    on E: EDivByZero do PrintLn('yes');
  end;
end.

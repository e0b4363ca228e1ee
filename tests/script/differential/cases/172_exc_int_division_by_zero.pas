function Ratio(a, b: Integer): Integer;
begin
  Result := a div b;
end;

var i, zero: Integer;
begin
  zero := 0;
  for i := -1 to 1 do
  begin
    try
      PrintLn(Ratio(10, i));
    except
      on E: Exception do PrintLn('div by zero at ' + IntToStr(i));
    end;
  end;
  try
    i := 7 mod zero;
  except
    on E: Exception do PrintLn('mod by zero');
  end;
  PrintLn('done');
end.

var i: Integer;
try
  while True do Inc(i);
except
  on E: Exception do PrintLn(E.Message);
end;
